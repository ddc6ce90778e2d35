#include "PlaceholderArt.h"

#include "IconArt.h"
#include "SkinPalette.h"
#include "SkinTexts.h"
#include "controls/SkinIds.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kx::skinart {

void DrawMapPlaceholder(QPainter& p, bool noConnection, int language) {
    const double w = skin::kPlaceholderWidth;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(QPointF(w / 2, 48), 36, 36);
    DrawIcon(p, noConnection ? Icon::WifiOff : Icon::MapPinOff, QRectF(w / 2 - 24, 24, 48, 48),
             QColor(170, 170, 170));
    const QString text = LabelText(noConnection ? Label::NoConnection : Label::NoGpsData, language);
    const QRectF box(8, 94, w - 16, 50);
    // One line when a slightly smaller size allows it; two lines of the full size otherwise.
    QFont font = LabelFont(language, 14, QFont::Normal);
    for (int size = 14; size >= 12; --size) {
        QFont smaller = LabelFont(language, size, QFont::Normal);
        if (QFontMetricsF(smaller).horizontalAdvance(text) <= box.width()) {
            font = smaller;
            break;
        }
    }
    p.setFont(font);
    p.setPen(QColor(205, 205, 205));
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
    p.restore();
}

}  // namespace kx::skinart
