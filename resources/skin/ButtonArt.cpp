#include "ButtonArt.h"

#include "IconArt.h"
#include "SkinPalette.h"
#include "SkinTexts.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kx::skinart {
namespace {

using skin::ButtonFace;
using skin::ButtonState;

Icon IconOf(ButtonFace face) {
    switch (face) {
        case ButtonFace::Open: return Icon::Folder;
        case ButtonFace::Merge: return Icon::Download;
        case ButtonFace::Capture: return Icon::Camera;
        case ButtonFace::Print: return Icon::Printer;
        case ButtonFace::Zoom: return Icon::Magnifier;
        case ButtonFace::Save: return Icon::Expand;
        case ButtonFace::Setting: return Icon::Gear;
        case ButtonFace::About: return Icon::Info;
        case ButtonFace::Min: return Icon::Minimize;
        case ButtonFace::Max: return Icon::Maximize;
        case ButtonFace::Close: return Icon::Close;
        case ButtonFace::Prev: return Icon::SkipBack;
        case ButtonFace::Rewind: return Icon::Rewind;
        case ButtonFace::Play: return Icon::Play;
        case ButtonFace::Pause: return Icon::Pause;
        case ButtonFace::Forward: return Icon::FastForward;
        case ButtonFace::Next: return Icon::SkipForward;
        case ButtonFace::Speed: return Icon::Gauge;
        case ButtonFace::Bright: return Icon::Sun;
        case ButtonFace::Sound: return Icon::Speaker;
        case ButtonFace::Muted: return Icon::SpeakerMuted;
        case ButtonFace::Map: return Icon::PopOut;
        default: return Icon::Mirror;
    }
}

Label LabelOf(ButtonFace face) {
    switch (face) {
        case ButtonFace::Front: return Label::Front;
        case ButtonFace::Rear: return Label::Rear;
        case ButtonFace::BothChannels: return Label::BothChannels;
        case ButtonFace::KindAll: return Label::KindAll;
        case ButtonFace::KindEvent: return Label::KindEvent;
        case ButtonFace::KindNormal: return Label::KindNormal;
        case ButtonFace::KindParking: return Label::KindParking;
        default: return Label::Mirror;
    }
}

QColor IconColour(ButtonState state) {
    switch (state) {
        case ButtonState::Normal: return kIcon;
        case ButtonState::Disabled: return kIconDisabled;
        default: return kIconHover;
    }
}

// The plate behind a hovered, pressed or checked icon; none for normal and disabled.
QColor PlateColour(ButtonFace face, ButtonState state) {
    const bool close = face == ButtonFace::Close;
    switch (state) {
        case ButtonState::Hover: return close ? QColor(196, 48, 43) : kPlateHover;
        case ButtonState::Pressed: return close ? QColor(150, 34, 30) : kAccentPressed;
        case ButtonState::Checked: return kAccent;
        default: return Qt::transparent;
    }
}

void DrawIconButton(QPainter& p, ButtonFace face, ButtonState state, QSizeF size,
                    double iconSize) {
    const QColor plate = PlateColour(face, state);
    p.setRenderHint(QPainter::Antialiasing);
    if (plate.alpha() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(plate);
        p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 4, 4);
    }
    const QRectF box((size.width() - iconSize) / 2, (size.height() - iconSize) / 2, iconSize,
                     iconSize);
    DrawIcon(p, IconOf(face), box, IconColour(state));
}

// Control-bar buttons: round plates on the control band.
void DrawBandButton(QPainter& p, ButtonFace face, ButtonState state, QSizeF size) {
    p.fillRect(QRectF(QPointF(0, 0), size), kBand);
    const bool onEdge = skin::ButtonOnBandEdge(face);
    if (onEdge) p.fillRect(QRectF(0, 0, size.width(), 1), kLine);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size.width() / 2, onEdge ? size.height() / 2 + 1 : size.height() / 2);
    const double radius = onEdge ? 13.5 : 11;
    const QColor plate = PlateColour(face, state);
    if (plate.alpha() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(plate);
        p.drawEllipse(centre, radius, radius);
    }
    const bool ring = face == ButtonFace::Play || face == ButtonFace::Pause;
    if (ring && plate.alpha() == 0) {
        p.setPen(QPen(state == ButtonState::Disabled ? kOutlineDisabled : kOutline, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, radius - 0.6, radius - 0.6);
    }
    const double iconSize = onEdge ? (ring ? 15 : 17) : 16;
    const QRectF box(centre.x() - iconSize / 2, centre.y() - iconSize / 2, iconSize, iconSize);
    DrawIcon(p, IconOf(face), box, IconColour(state));
}

// Buttons with a word: a rounded pill, outlined when idle and filled when active.
void DrawPillButton(QPainter& p, ButtonFace face, ButtonState state, int language, QSizeF size) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pill(0.5, 0.5, size.width() - 1, size.height() - 1);
    const QColor plate = PlateColour(face, state);
    if (plate.alpha() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(plate);
    } else {
        p.setPen(QPen(state == ButtonState::Disabled ? kOutlineDisabled : kOutline, 1.0));
        p.setBrush(Qt::NoBrush);
    }
    p.drawRoundedRect(pill, 4, 4);
    const QColor ink = IconColour(state);
    QRectF textBox = pill.adjusted(3, 0, -3, 0);
    if (face == ButtonFace::RearMirror) {
        const double icon = 13;
        DrawIcon(p, Icon::Mirror, QRectF(5, (size.height() - icon) / 2, icon, icon), ink);
        textBox.setLeft(5 + icon + 3);
    }
    DrawFittedText(p, textBox, LabelText(LabelOf(face), language), language, 11, ink);
}

}  // namespace

void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, int language,
                    double pixelSize, const QColor& colour) {
    QFont font = LabelFont(language, pixelSize, QFont::DemiBold);
    double width = QFontMetricsF(font).horizontalAdvance(text);
    while (width > box.width() && font.pixelSize() > 9) {
        font.setPixelSize(font.pixelSize() - 1);
        width = QFontMetricsF(font).horizontalAdvance(text);
    }
    p.save();
    p.setFont(font);
    p.setPen(colour);
    if (width > box.width()) {
        // Still too wide at the smallest readable size: condense rather than clip.
        const double squeeze = box.width() / width;
        p.translate(box.left(), 0);
        p.scale(squeeze, 1.0);
        p.drawText(QRectF(0, box.top(), width, box.height()), Qt::AlignCenter, text);
    } else {
        p.drawText(box, Qt::AlignCenter, text);
    }
    p.restore();
}

void DrawButton(QPainter& p, ButtonFace face, ButtonState state, int language) {
    const skin::ButtonSize s = skin::ButtonFaceSize(face);
    const QSizeF size(s.width, s.height);
    p.save();
    if (skin::ButtonIsBitmap(face)) {
        DrawBandButton(p, face, state, size);
    } else if (face == ButtonFace::RearMirror ||
               static_cast<int>(face) >= skin::kFirstLocalFace) {
        DrawPillButton(p, face, state, language, size);
    } else {
        const bool windowControl =
            face == ButtonFace::Min || face == ButtonFace::Max || face == ButtonFace::Close;
        DrawIconButton(p, face, state, size, windowControl ? 13 : 19);
    }
    p.restore();
}

}  // namespace kx::skinart
