#include "controls/DotumFont.h"

#include "app/core/ViewerOptions.h"

#include <QPainter>
#include <QStringList>

#include <cmath>

namespace kx {
namespace {

constexpr int kJapanese = 3;
constexpr int kChinese = 4;

// Dotum's ascent is 220 of its 256 units, and its cell height is its em: a cell of height h
// has its baseline 0.86 h below the top.
constexpr double kDotumAscent = 220.0 / 256.0;

}  // namespace

QFont DotumFont(int height) {
    QStringList families = {"Dotum"};
    const int language = TheViewerOptions().languageIndex;
    if (language == kJapanese) families << "Noto Sans CJK JP";
    if (language == kChinese) families << "Noto Sans CJK SC";
    families << "Noto Sans CJK KR" << "Noto Sans";
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    return font;
}

void TextOutAt(QPainter& painter, int x, int y, const QString& text) {
    const int pixelSize = painter.font().pixelSize();
    const double baseline = y + std::round(kDotumAscent * (pixelSize > 0 ? pixelSize : 13));
    painter.drawText(QPointF(x, baseline), text);
}

}  // namespace kx
