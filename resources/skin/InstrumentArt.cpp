#include "InstrumentArt.h"

#include "ButtonArt.h"
#include "IconArt.h"
#include "SkinPalette.h"
#include "SkinTexts.h"
#include "controls/SkinIds.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kx::skinart {
namespace {

constexpr QColor kEmptyBar{58, 58, 58};
constexpr QColor kScrollGroove{34, 34, 34};
constexpr QColor kScrollThumbFace{96, 96, 96};
constexpr QColor kSmallGroove{62, 62, 62};

void Antialias(QPainter& p) { p.setRenderHint(QPainter::Antialiasing); }

void FilledRoundRect(QPainter& p, const QRectF& r, double radius, const QBrush& brush) {
    p.save();
    Antialias(p);
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void Chevron(QPainter& p, bool up) {
    p.save();
    Antialias(p);
    p.setPen(QPen(kUnit, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double y0 = up ? 10.5 : 7.5;
    const double y1 = up ? 7.0 : 11.0;
    p.drawPolyline(QPolygonF({QPointF(5.5, y0), QPointF(9, y1), QPointF(12.5, y0)}));
    p.restore();
}

// The digit shapes come from a font's outlines, all scaled by one factor: "0" fills the cell's
// height and the widest digit its width. Column 0 stays untouched, so that the decimal point,
// whose last column shares that place with the ones digit, keeps its edge.
QPainterPath DigitPath(int digit) {
    QFont font;
    font.setFamilies({"Noto Sans", "DejaVu Sans"});
    font.setWeight(QFont::Bold);
    font.setPixelSize(100);
    const auto outline = [&](int d) {
        QPainterPath path;
        path.addText(0, 0, font, QString::number(d));
        return path;
    };
    double widest = 0;
    for (int d = 0; d < 10; ++d) widest = std::max(widest, outline(d).boundingRect().width());
    const QRectF zero = outline(0).boundingRect();
    const QRectF cell(1.3, 1.5, 8.4, 15.0);
    QTransform t;
    t.scale(cell.width() / widest, cell.height() / zero.height());
    t.translate(0, -zero.top());
    QPainterPath placed = t.map(outline(digit));
    const QRectF b = placed.boundingRect();
    placed.translate(cell.center().x() - b.center().x(), cell.top());
    return placed;
}

}  // namespace

void DrawTopTile(QPainter& p) {
    p.fillRect(QRect(0, 0, 100, 33), kBackground);
    // The gradient ends above row 17 so that the buttons on the strip, which carry rows 9..16
    // of this tile in their own background, meet the plain background below without a seam.
    QLinearGradient shade(0, 0, 0, 17);
    shade.setColorAt(0, QColor(30, 30, 30));
    shade.setColorAt(1, kBackground);
    p.fillRect(QRect(0, 0, 100, 17), shade);
    p.fillRect(QRect(0, 0, 100, 1), QColor(44, 44, 44));
}

void DrawSpeedBackground(QPainter& p, bool miles) {
    p.fillRect(QRect(0, 0, 124, 38), kPanel);
    p.save();
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 123, 37));
    p.restore();
    p.fillRect(QRectF(7, 11, 2, 18), kAccent);
    QFont font = LabelFont(0, 11, QFont::DemiBold);
    p.setFont(font);
    p.setPen(kUnit);
    const QString unit = miles ? "mph" : "km/h";
    // The unit sits on the digits' baseline.
    const QFontMetricsF m(font);
    p.drawText(QPointF(78, 29 - m.descent() + 1), unit);
}

void DrawSpeedGlyph(QPainter& p, int digit) {
    Antialias(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kDigit);
    if (digit < 0) {
        p.drawRoundedRect(QRectF(1.5, 14.0, 3.0, 3.0), 0.6, 0.6);
        return;
    }
    p.drawPath(DigitPath(digit));
}

void DrawVolumeBar(QPainter& p, bool full) {
    p.fillRect(QRect(0, 0, 70, 21), kBand);
    QLinearGradient ramp(0, 0, 70, 0);
    ramp.setColorAt(0, kAccentPressed);
    ramp.setColorAt(1, kAccentLight);
    const QBrush brush = full ? QBrush(ramp) : QBrush(kEmptyBar);
    // Ten bars in 7-pixel slots, so that level L shows exactly the first L bars.
    for (int k = 0; k < 10; ++k) {
        const double height = 5.0 + k * 1.5;
        FilledRoundRect(p, QRectF(7 * k + 1, 19 - height, 5, height), 1.0, brush);
    }
}

void DrawSeekTrack(QPainter& p) {
    p.fillRect(QRect(0, 0, 547, 9), kBackground);
    FilledRoundRect(p, QRectF(0, 1, 547, 7), 3.5, kGroove);
}

void DrawSeekFill(QPainter& p) { p.fillRect(QRect(0, 0, 3, 7), kAccent); }

void DrawSeekThumb(QPainter& p) {
    p.fillRect(QRect(0, 0, 11, 22), kBackground);
    FilledRoundRect(p, QRectF(2, 1, 7, 20), 3.5, kThumb);
    p.fillRect(QRectF(5, 6, 1, 10), QColor(150, 150, 150));
}

void DrawSmallTrack(QPainter& p) {
    p.fillRect(QRect(0, 0, 66, 9), kBand);
    FilledRoundRect(p, QRectF(0.5, 2, 65, 5), 2.5, kSmallGroove);
    // A tick at the middle position, where speed and brightness are at their defaults.
    p.fillRect(QRectF(32, 0, 1, 2), kUnit);
    p.fillRect(QRectF(32, 7, 1, 2), kUnit);
}

void DrawSmallThumb(QPainter& p) {
    p.fillRect(QRect(0, 0, 13, 13), kBand);
    Antialias(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kThumb);
    p.drawEllipse(QPointF(6.5, 6.5), 5.5, 5.5);
}

void DrawScrollBlock(QPainter& p, int number) {
    const QRect block(0, 0, 18, number == skin::kScrollTrack ? 1 : 18);
    p.fillRect(block, kScrollFace);
    switch (number) {
        case skin::kScrollTopCap:
            p.fillRect(block, kBand);
            break;
        case skin::kScrollUpArrow:
            Chevron(p, true);
            break;
        case skin::kScrollDownArrow:
            Chevron(p, false);
            break;
        case skin::kScrollTrack:
            // Only the left 12 columns are used, stretched to 18: the groove sits at their
            // middle so that it lands in the middle of the bar.
            p.fillRect(QRect(5, 0, 2, 1), kScrollGroove);
            p.fillRect(QRect(14, 0, 2, 1), kScrollGroove);
            break;
        case skin::kScrollThumb:
            FilledRoundRect(p, QRectF(4, 1, 10, 16), 4, kScrollThumbFace);
            break;
        default:
            break;
    }
}

void DrawMapClose(QPainter& p, PushState state) {
    p.fillRect(QRect(0, 0, 30, 24), kBand);
    if (state != PushState::Normal) {
        FilledRoundRect(p, QRectF(1, 1, 28, 22), 4,
                        state == PushState::Hover ? QColor(196, 48, 43) : QColor(150, 34, 30));
    }
    const QColor ink = state == PushState::Normal ? kIcon : kIconHover;
    DrawIcon(p, Icon::Close, QRectF(8.5, 5.5, 13, 13), ink);
}

void DrawOkButton(QPainter& p, PushState state) {
    p.fillRect(QRect(0, 0, 83, 32), kBackground);
    Antialias(p);
    const QRectF body(0.5, 0.5, 82, 31);
    if (state == PushState::Normal) {
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kBand);
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(state == PushState::Hover ? kAccent : kAccentPressed);
    }
    p.drawRoundedRect(body, 5, 5);
    DrawFittedText(p, body, "OK", 0, 13, kIconHover);
}

void DrawAppIcon(QPainter& p) {
    Antialias(p);
    QLinearGradient face(0, 0, 0, 256);
    face.setColorAt(0, QColor(40, 40, 40));
    face.setColorAt(1, QColor(16, 16, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 52, 52);
    const QPointF lens(128, 112);
    p.setBrush(kAccent);
    p.drawEllipse(lens, 72, 72);
    p.setBrush(QColor(14, 14, 14));
    p.drawEllipse(lens, 56, 56);
    p.setBrush(QColor(0, 70, 70));
    p.drawEllipse(lens, 30, 30);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(110, 94), 11, 11);
    QFont font = LabelFont(0, 36, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(210, 210, 210));
    p.drawText(QRectF(8, 190, 240, 46), Qt::AlignCenter, "KX480");
}

}  // namespace kx::skinart
