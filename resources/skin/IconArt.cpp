#include "IconArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace kx::skinart {
namespace {

QPointF Polar(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

void Line(QPainter& p, double x1, double y1, double x2, double y2) {
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Polyline(QPainter& p, std::initializer_list<QPointF> points) {
    const QPolygonF poly(points);
    p.drawPolyline(poly);
}

void FilledPolygon(QPainter& p, std::initializer_list<QPointF> points) {
    p.save();
    p.setBrush(p.pen().color());
    p.drawPolygon(QPolygonF(points));
    p.restore();
}

void Dot(QPainter& p, QPointF centre, double radius) {
    p.save();
    p.setBrush(p.pen().color());
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void Gear(QPainter& p) {
    const QPointF c(12, 12);
    QPolygonF outline;
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double a = tooth * 45.0;
        outline << Polar(c, 7.2, a - 22.5) << Polar(c, 7.2, a - 13) << Polar(c, 10, a - 8)
                << Polar(c, 10, a + 8) << Polar(c, 7.2, a + 13);
    }
    p.drawPolygon(outline);
    p.drawEllipse(c, 3.0, 3.0);
}

void Speaker(QPainter& p) {
    p.drawPolygon(QPolygonF({QPointF(3.5, 9), QPointF(7.5, 9), QPointF(12.5, 5), QPointF(12.5, 19),
                             QPointF(7.5, 15), QPointF(3.5, 15)}));
}

void Slash(QPainter& p) { Line(p, 3, 3, 21, 21); }

void MapPin(QPainter& p) {
    QPainterPath pin;
    pin.moveTo(12, 22);
    pin.cubicTo(12, 22, 4, 16, 4, 10);
    pin.arcTo(QRectF(4, 2, 16, 16), 180, -180);
    pin.cubicTo(20, 16, 12, 22, 12, 22);
    p.drawPath(pin);
    p.drawEllipse(QPointF(12, 10), 3, 3);
}

void Wifi(QPainter& p) {
    const QPointF c(12, 20);
    for (double r : {5.0, 9.5, 14.0}) {
        const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
        p.drawArc(box, 50 * 16, 80 * 16);
    }
    Dot(p, QPointF(12, 19.5), 1.4);
}

}  // namespace

void DrawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    QPen pen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (icon) {
        case Icon::Folder:
            p.drawPolygon(QPolygonF({QPointF(3, 5), QPointF(9, 5), QPointF(11, 7.5),
                                     QPointF(21, 7.5), QPointF(21, 19), QPointF(3, 19)}));
            Line(p, 3, 11, 21, 11);
            break;
        case Icon::Download:
            Line(p, 12, 3, 12, 15);
            Polyline(p, {QPointF(7, 10), QPointF(12, 15), QPointF(17, 10)});
            Polyline(p, {QPointF(4, 15), QPointF(4, 20), QPointF(20, 20), QPointF(20, 15)});
            break;
        case Icon::Camera:
            p.drawRoundedRect(QRectF(2.5, 7, 19, 13), 2, 2);
            Polyline(p, {QPointF(8, 7), QPointF(9.5, 4), QPointF(14.5, 4), QPointF(16, 7)});
            p.drawEllipse(QPointF(12, 13.5), 3.5, 3.5);
            break;
        case Icon::Printer:
            Polyline(p, {QPointF(7, 8), QPointF(7, 3), QPointF(17, 3), QPointF(17, 8)});
            Polyline(p, {QPointF(7, 17), QPointF(4, 17), QPointF(3, 16), QPointF(3, 9),
                         QPointF(4, 8), QPointF(20, 8), QPointF(21, 9), QPointF(21, 16),
                         QPointF(20, 17), QPointF(17, 17)});
            p.drawRect(QRectF(7, 13, 10, 8));
            break;
        case Icon::Magnifier:
            p.drawEllipse(QPointF(10.5, 10.5), 6.5, 6.5);
            Line(p, 15.5, 15.5, 21, 21);
            Line(p, 10.5, 7.5, 10.5, 13.5);
            Line(p, 7.5, 10.5, 13.5, 10.5);
            break;
        case Icon::Expand:
            Polyline(p, {QPointF(3, 8), QPointF(3, 3), QPointF(8, 3)});
            Polyline(p, {QPointF(16, 3), QPointF(21, 3), QPointF(21, 8)});
            Polyline(p, {QPointF(21, 16), QPointF(21, 21), QPointF(16, 21)});
            Polyline(p, {QPointF(8, 21), QPointF(3, 21), QPointF(3, 16)});
            break;
        case Icon::Gear:
            Gear(p);
            break;
        case Icon::Info:
            p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
            Line(p, 12, 11, 12, 16.5);
            Dot(p, QPointF(12, 7.6), 1.3);
            break;
        case Icon::Minimize:
            Line(p, 5, 12, 19, 12);
            break;
        case Icon::Maximize:
            p.drawRoundedRect(QRectF(5, 5, 14, 14), 1.5, 1.5);
            break;
        case Icon::Close:
            Line(p, 5, 5, 19, 19);
            Line(p, 19, 5, 5, 19);
            break;
        case Icon::SkipBack:
            FilledPolygon(p, {QPointF(19, 5.5), QPointF(9, 12), QPointF(19, 18.5)});
            pen.setWidthF(2.6);
            p.setPen(pen);
            Line(p, 6, 5.5, 6, 18.5);
            break;
        case Icon::Rewind:
            FilledPolygon(p, {QPointF(12, 6), QPointF(3.5, 12), QPointF(12, 18)});
            FilledPolygon(p, {QPointF(21, 6), QPointF(12.5, 12), QPointF(21, 18)});
            break;
        case Icon::Play:
            FilledPolygon(p, {QPointF(8, 5), QPointF(19.5, 12), QPointF(8, 19)});
            break;
        case Icon::Pause:
            p.setBrush(colour);
            p.drawRoundedRect(QRectF(6.5, 5, 3.5, 14), 0.8, 0.8);
            p.drawRoundedRect(QRectF(14, 5, 3.5, 14), 0.8, 0.8);
            break;
        case Icon::FastForward:
            FilledPolygon(p, {QPointF(3, 6), QPointF(11.5, 12), QPointF(3, 18)});
            FilledPolygon(p, {QPointF(12, 6), QPointF(20.5, 12), QPointF(12, 18)});
            break;
        case Icon::SkipForward:
            FilledPolygon(p, {QPointF(5, 5.5), QPointF(15, 12), QPointF(5, 18.5)});
            pen.setWidthF(2.6);
            p.setPen(pen);
            Line(p, 18, 5.5, 18, 18.5);
            break;
        case Icon::Gauge: {
            const QRectF arc(3, 5, 18, 18);
            p.drawArc(arc, -20 * 16, 220 * 16);
            Line(p, 12, 14, 16.5, 9);
            Dot(p, QPointF(12, 14), 1.8);
            break;
        }
        case Icon::Sun:
            p.drawEllipse(QPointF(12, 12), 4, 4);
            for (int i = 0; i < 8; ++i) {
                const QPointF a = Polar(QPointF(12, 12), 7.2, i * 45.0);
                const QPointF b = Polar(QPointF(12, 12), 9.6, i * 45.0);
                p.drawLine(a, b);
            }
            break;
        case Icon::Speaker:
            Speaker(p);
            p.drawArc(QRectF(12.5 - 4, 12 - 4, 8, 8), -45 * 16, 90 * 16);
            p.drawArc(QRectF(12.5 - 7.5, 12 - 7.5, 15, 15), -50 * 16, 100 * 16);
            break;
        case Icon::SpeakerMuted:
            Speaker(p);
            Line(p, 16, 9, 21, 15);
            Line(p, 21, 9, 16, 15);
            break;
        case Icon::PopOut:
            Polyline(p, {QPointF(11, 5), QPointF(5, 5), QPointF(5, 19), QPointF(19, 19),
                         QPointF(19, 13)});
            Polyline(p, {QPointF(14, 4), QPointF(20, 4), QPointF(20, 10)});
            Line(p, 20, 4, 11, 13);
            break;
        case Icon::Mirror: {
            p.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(3, 18), QPointF(9, 18)}));
            FilledPolygon(p, {QPointF(15, 6), QPointF(21, 18), QPointF(15, 18)});
            QPen dashed = pen;
            dashed.setWidthF(1.4);
            dashed.setDashPattern({1.5, 1.8});
            p.setPen(dashed);
            Line(p, 12, 3, 12, 21);
            break;
        }
        case Icon::MapPinOff:
            MapPin(p);
            Slash(p);
            break;
        case Icon::WifiOff:
            Wifi(p);
            Slash(p);
            break;
    }
    p.restore();
}

}  // namespace kx::skinart
