#include "controls/CDvGsensorCtrl.h"

#include "controls/CMemoryDC.h"
#include "controls/ControlConstants.h"
#include "controls/DotumFont.h"
#include "telemetry/TelemetryTrack.h"

#include <QMouseEvent>
#include <QPainter>


namespace kx {
namespace {

int AxisValue(const CGSensorData& s, CDvGsensorCtrl::Axis axis) {
    switch (axis) {
        case CDvGsensorCtrl::Axis::X: return s.x;
        case CDvGsensorCtrl::Axis::Y: return s.y;
        case CDvGsensorCtrl::Axis::Z: return s.z;
    }
    return 0;
}

void DrawGrid(QPainter& p, const GsensorGeometry& g) {
    p.setPen(QPen(kColorGrid, 1, Qt::SolidLine));
    p.drawLine(g.plotLeft, g.plotTop, g.plotLeft, g.plotBottom);
    p.drawLine(g.plotRight, g.plotTop, g.plotRight, g.plotBottom);

    p.setPen(QPen(kColorGrid, 1, Qt::DotLine));
    for (int i = 1; i < kGsensorColumns; ++i) {
        const int x = g.plotLeft + i * g.columnWidth;
        p.drawLine(x, g.plotTop, x, g.plotBottom);
    }
    const int centre = g.Centre();
    for (int y : {centre, centre - g.quarter, centre + g.quarter})
        p.drawLine(g.plotLeft, y, g.plotRight, y);

    p.setFont(DotumFont(kFontGraphLabel));
    p.setPen(kColorGrid);
    TextOutAt(p, g.plotLeft - 10, g.plotTop - 5, "2");
    TextOutAt(p, g.plotLeft - 10, centre - 5, "0");
    TextOutAt(p, g.plotLeft - 14, g.plotBottom - 5, "-2");
}

}  // namespace

QPen CDvGsensorCtrl::CurvePen(QColor colour, const QPainter& painter) {
    // A hairline joins its segments without caps or mitres, as the pixels of consecutive line
    // segments; on a double-density screen it is two device pixels wide.
    QPen pen(colour);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    pen.setWidth(ratio >= 2.0 ? 2 : 0);
    return pen;
}

CDvGsensorCtrl::CDvGsensorCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameGsensorWnd);
}

bool CDvGsensorCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

GsensorGeometry CDvGsensorCtrl::Geometry(QSize client) {
    GsensorGeometry g;
    g.plotBottom = client.height() - kGsensorBottomInset;
    g.plotTop = kGsensorPlotTop;
    g.plotLeft = kGsensorLeftMargin;
    g.columnWidth = (client.width() - kGsensorRightMargin - kGsensorLeftMargin) / kGsensorColumns;
    g.quarter = (g.plotBottom - g.plotTop) / 4 + 5;
    g.plotRight = g.plotLeft + kGsensorColumns * g.columnWidth;
    return g;
}

QPolygon CDvGsensorCtrl::Curve(const std::vector<CGSensorData>& samples, Axis axis,
                               const GsensorGeometry& g) {
    QPolygon points;
    if (samples.empty()) return points;
    const std::uint32_t last = samples.back().time;
    // With the last sample at time 0 there is no horizontal scale: only the grid is drawn.
    if (last == 0) return points;
    const int half = (g.plotBottom - g.plotTop) / 2;
    const int centre = g.plotTop + half;
    const double amplitude = half * 0.5;
    const double xScale = static_cast<double>(g.plotRight - g.plotLeft) / last;

    points.reserve(static_cast<int>(samples.size()) + 2);
    points << QPoint(g.plotLeft, centre);
    int y = centre;
    for (const CGSensorData& s : samples) {
        if (s.time > last) continue;
        y = static_cast<int>(centre - AxisValue(s, axis) * kGsensorScale * amplitude);
        points << QPoint(static_cast<int>(g.plotLeft + s.time * xScale), y);
    }
    points << QPoint(g.plotRight, y);
    return points;
}

void CDvGsensorCtrl::Paint(QPainter& p, QSize size, const std::vector<CGSensorData>& samples) {
    const GsensorGeometry g = Geometry(size);
    p.fillRect(QRect(QPoint(0, 0), size), kColorBackground);
    DrawGrid(p, g);
    const std::pair<Axis, QColor> axes[] = {
        {Axis::X, kColorAxisX}, {Axis::Y, kColorAxisY}, {Axis::Z, kColorAxisZ}};
    for (const auto& [axis, colour] : axes) {
        const QPolygon curve = Curve(samples, axis, g);
        if (curve.isEmpty()) continue;
        p.setPen(CurvePen(colour, p));
        p.drawPolyline(curve);
    }
}

void CDvGsensorCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    const auto snapshot = GsensorTrack.Get();
    Paint(surface.Painter(), size(), snapshot->records);
    QPainter window(this);
    surface.CopyTo(window);
}

void CDvGsensorCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton)
        emit contextMenuRequested(event->globalPosition().toPoint());
    QWidget::mousePressEvent(event);
}

}  // namespace kx
