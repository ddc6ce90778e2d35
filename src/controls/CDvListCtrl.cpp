#include "controls/CDvListCtrl.h"

#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"
#include "controls/CSkinHeaderCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/ControlConstants.h"
#include "controls/DotumFont.h"
#include "controls/IMainWindowLink.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QUrl>

namespace kx {
namespace {

constexpr int kRowHeight = 18;
constexpr int kTextPadding = 4;
constexpr int kVisibleColumns = 4;

struct Column {
    int title;  // language string, 0 for a fixed title
    const char* fixedTitle;
    Qt::Alignment alignment;
    int width;
};
// Columns 4 and 5 hold the playlist's path and file name and are never shown.
constexpr Column kColumns[] = {
    {kStrColNumber, "", Qt::AlignLeft, 35},   {kStrColDate, "", Qt::AlignHCenter, 72},
    {kStrColTime, "", Qt::AlignHCenter, 56},  {kStrColKind, "", Qt::AlignLeft, 150},
    {0, "    ", Qt::AlignHCenter, 0},         {0, "", Qt::AlignHCenter, 0},
};

// Paints every cell itself, so that rows take the list's colours instead of the style's.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(CDvListCtrl* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const auto [background, ink] = list_->RowColours(index.row(), selected);
        p->save();
        p->fillRect(option.rect, background);
        p->setFont(list_->font());
        p->setPen(ink);
        const auto column = static_cast<std::size_t>(index.column());
        const Qt::Alignment horizontal =
            column < std::size(kColumns) ? kColumns[column].alignment : Qt::AlignLeft;
        // Left-aligned texts keep off the cell's edge; centred ones get the whole narrow cell.
        const int padding = horizontal & Qt::AlignLeft ? kTextPadding : 0;
        const QRect text = option.rect.adjusted(padding, 0, -padding, 0);
        p->drawText(text, static_cast<int>(horizontal | Qt::AlignVCenter),
                    index.data().toString());
        p->restore();
    }

private:
    CDvListCtrl* list_;
};

}  // namespace

CDvListCtrl::CDvListCtrl(QWidget* parent) : QTableWidget(parent) {
    header_ = new CSkinHeaderCtrl(this);
    setHorizontalHeader(header_);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new RowDelegate(this));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kColorListBackground);
    colours.setColor(QPalette::Window, kColorListBackground);
    setPalette(colours);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateThumb(); });
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { UpdateThumb(); });
}

CDvListCtrl::~CDvListCtrl() {
    // The scrollbar is the list's sibling: it goes with the list.
    delete scrollbar_.data();
}

bool CDvListCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvListCtrl::SetupAsPlaylist() {
    setFont(DotumFont(kFontList));
    header_->setFont(font());
    // A new font makes the rows as tall as the style wants them; the playlist keeps its own.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    // The columns are there even without a language table (their titles are then empty): the
    // hidden path and name columns are what the playlist plays from.
    setColumnCount(static_cast<int>(std::size(kColumns)));
    for (int c = 0; c < columnCount(); ++c)
        setColumnWidth(c, kColumns[static_cast<std::size_t>(c)].width);
    ReloadColumnTitles();
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    if (!scrollbar_ && parentWidget()) {
        scrollbar_ = new CSkinVerticleScrollbar(parentWidget());
        scrollbar_->Bind(this);
        scrollbar_->show();
    }
    PlaceScrollbar();
    UpdateThumb();
}

void CDvListCtrl::ReloadColumnTitles() {
    QStringList titles;
    for (const Column& column : kColumns) {
        if (column.title == 0) {
            titles << column.fixedTitle;
            continue;
        }
        titles << QString::fromStdString(LanguageString(column.title).value_or(std::string()));
    }
    if (columnCount() < static_cast<int>(titles.size())) return;
    setHorizontalHeaderLabels(titles);
    for (int c = 0; c < kVisibleColumns; ++c)
        setColumnWidth(c, kColumns[static_cast<std::size_t>(c)].width);
}

void CDvListCtrl::SetMarkedRow(int row) {
    markedRow_ = row;
    viewport()->update();
}

int CDvListCtrl::InsertRow(int row, const QStringList& texts) {
    if (row < 0 || row > rowCount()) row = rowCount();
    insertRow(row);
    for (int c = 0; c < columnCount() && c < texts.size(); ++c)
        setItem(row, c, new QTableWidgetItem(texts[c]));
    return row;
}

QString CDvListCtrl::ItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void CDvListCtrl::DeleteAllItems() {
    clearContents();
    setRowCount(0);
}

std::pair<QColor, QColor> CDvListCtrl::RowColours(int row, bool selected) const {
    if (row == markedRow_) return {kColorRowMarked, kColorRowMarkedText};
    if (selected) return {kColorRowSelected, kColorRowSelectedText};
    return {row % 2 == 0 ? kColorRowEven : kColorRowOdd, kColorRowText};
}

int CDvListCtrl::ScrollPosition() const { return verticalScrollBar()->value(); }
int CDvListCtrl::ScrollLimit() const { return verticalScrollBar()->maximum(); }
int CDvListCtrl::FirstRowHeight() const { return rowCount() > 0 ? rowHeight(0) : 0; }

void CDvListCtrl::LineUp() { verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); }
void CDvListCtrl::LineDown() { verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd); }
void CDvListCtrl::PageUp() { verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub); }
void CDvListCtrl::PageDown() { verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }

void CDvListCtrl::ScrollPixels(int dy) {
    const int row = FirstRowHeight();
    if (row <= 0) return;
    // The list scrolls by whole rows: a pixel scroll moves by the rows it covers.
    verticalScrollBar()->setValue(ScrollPosition() + dy / row);
}

void CDvListCtrl::PlaceScrollbar() {
    if (!scrollbar_) return;
    scrollbar_->setGeometry(x() + width(), y(), kScrollUnit, height());
}

void CDvListCtrl::UpdateThumb() {
    if (scrollbar_) scrollbar_->UpdateThumb();
}

void CDvListCtrl::paintEvent(QPaintEvent* event) {
    PlaceScrollbar();
    UpdateThumb();
    QTableWidget::paintEvent(event);
}

void CDvListCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        event->accept();
        return;
    }
    UpdateThumb();
    QTableWidget::keyPressEvent(event);
}

void CDvListCtrl::keyReleaseEvent(QKeyEvent* event) {
    UpdateThumb();
    QTableWidget::keyReleaseEvent(event);
}

void CDvListCtrl::wheelEvent(QWheelEvent* event) {
    if (event->angleDelta().y() <= 0) {
        LineDown();
    } else {
        LineUp();
    }
    UpdateThumb();
    QTableWidget::wheelEvent(event);
}

void CDvListCtrl::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton)
        emit rowRightClicked(rowAt(event->position().toPoint().y()));
}

void CDvListCtrl::moveEvent(QMoveEvent* event) {
    QTableWidget::moveEvent(event);
    PlaceScrollbar();
}

void CDvListCtrl::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    PlaceScrollbar();
    UpdateThumb();
}

void CDvListCtrl::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CDvListCtrl::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CDvListCtrl::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    event->acceptProposedAction();
    if (paths.isEmpty() || !link_ || link_->IsBusy()) return;
    link_->DropFiles(paths);
}

}  // namespace kx
