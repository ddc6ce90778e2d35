#include "controls/CSkinHeaderCtrl.h"

#include "controls/ControlConstants.h"
#include "controls/DotumFont.h"

#include <QAbstractItemModel>
#include <QPainter>

namespace kx {
namespace {

constexpr int kHeaderHeight = 18;
constexpr int kTextDrop = 3;

}  // namespace

CSkinHeaderCtrl::CSkinHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setFixedHeight(kHeaderHeight);
    setSectionsClickable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
    setMinimumSectionSize(0);
}

void CSkinHeaderCtrl::paintEvent(QPaintEvent* event) {
    {
        // The part right of the last column is a heading cell without a title.
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), kColorHeader);
    }
    QHeaderView::paintEvent(event);
}

void CSkinHeaderCtrl::paintSection(QPainter* p, const QRect& rect, int logicalIndex) const {
    p->save();
    p->fillRect(rect, kColorHeader);
    const QString title =
        model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    const QFont font = DotumFont(kFontList);
    p->setFont(font);
    p->setPen(kColorWhite);
    p->setClipRect(rect);
    const bool left = logicalIndex == 0 || logicalIndex == 3;
    int x = rect.left();
    if (!left) x += (rect.width() - QFontMetrics(font).horizontalAdvance(title)) / 2;
    TextOutAt(*p, x, rect.top() + kTextDrop, title);
    p->restore();
}

}  // namespace kx
