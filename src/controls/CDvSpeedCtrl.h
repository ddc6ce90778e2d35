#pragma once
// The digital speedometer: the speed composed from digit images over a background image that
// carries the unit (km/h, or mph when the viewer options ask for miles). The owner stores the
// speed already converted to the unit shown, and repaints at once with Redraw.

#include <QWidget>

namespace kx {

class CDvSpeedCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CDvSpeedCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetSpeed(double speed) { speed_ = speed; }
    double Speed() const { return speed_; }
    // Paints now, within the caller's turn, instead of waiting for an update.
    void Redraw();

    // Draws the display for `speed` at the painter's origin.
    static void Paint(QPainter& painter, double speed, bool miles);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int id_ = 0;
    double speed_ = 0;
};

}  // namespace kx
