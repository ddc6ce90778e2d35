#pragma once
// The G-sensor strip chart: the three axes of the whole open recording as three polylines over
// a fixed grid of twelve columns, scaled so that the last sample lands on the plot's right
// edge. It reads GsensorTrack each time it paints and keeps no copy of the samples. A right
// click asks the owner for the playback context menu.

#include "telemetry/TelemetryRecords.h"

#include <QPen>
#include <QPolygon>
#include <QWidget>

#include <vector>

namespace kx {

struct GsensorGeometry {
    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    int columnWidth = 0;
    int quarter = 0;  // distance of the two outer grid lines from the centre line
    int Centre() const { return plotTop + (plotBottom - plotTop) / 2; }
};

class CDvGsensorCtrl : public QWidget {
    Q_OBJECT

public:
    enum class Axis { X, Y, Z };

    explicit CDvGsensorCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetLanguageIndex(int index) { languageIndex_ = index; }
    int LanguageIndex() const { return languageIndex_; }
    // The recording's length; kept for the owner, the drawing scales by the last sample.
    void SetTimeSpan(int milliseconds) { timeSpan_ = milliseconds; }
    int TimeSpan() const { return timeSpan_; }

    static GsensorGeometry Geometry(QSize client);
    // The points of one axis' polyline: from the centre at the plot's left edge through every
    // sample not later than the last one, then level to the plot's right edge. Empty when there
    // is nothing to draw.
    static QPolygon Curve(const std::vector<CGSensorData>& samples, Axis axis,
                          const GsensorGeometry& geometry);
    // The pen of a curve on `painter`'s device.
    static QPen CurvePen(QColor colour, const QPainter& painter);
    // Draws the chart for `samples` on a client of `size` at the painter's origin.
    static void Paint(QPainter& painter, QSize size, const std::vector<CGSensorData>& samples);

signals:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int id_ = 0;
    int languageIndex_ = 0;
    int timeSpan_ = 60000;
};

}  // namespace kx
