#include "controls/CDvSimpleSliderCtrl.h"

#include "controls/CMemoryDC.h"
#include "controls/ResourceDrawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kx {
namespace {

constexpr int kTrackWidth = 66;
constexpr int kTrackHeight = 9;
// The thumb's centre runs over the first 64 track pixels, so the middle position (50 of 100)
// sits on the track's middle tick.
constexpr int kThumbTravel = 64;
constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 13;
constexpr int kThumbSourceX = 1;
constexpr int kPageDelayMs = 400;
constexpr int kPageRepeatMs = 100;

}  // namespace

CDvSimpleSliderCtrl::CDvSimpleSliderCtrl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 100);
    setPageStep(10);
    setValue(50);
    connect(&pageRepeat_, &QTimer::timeout, this, [this] {
        pageRepeat_.setInterval(kPageRepeatMs);
        PageTowardPress();
    });
}

bool CDvSimpleSliderCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvSimpleSliderCtrl::SetImages(int track, int thumb) {
    trackImage_ = track;
    thumbImage_ = thumb;
    update();
}

void CDvSimpleSliderCtrl::SetBackground(QColor colour) {
    background_ = colour;
    update();
}

void CDvSimpleSliderCtrl::SetMargin(int margin) {
    margin_ = margin;
    update();
}

int CDvSimpleSliderCtrl::ThumbCentre() const {
    const int span = maximum() - minimum();
    if (span <= 0) return margin_;
    return margin_ + (value() - minimum()) * kThumbTravel / span;
}

int CDvSimpleSliderCtrl::ThumbLeft() const { return ThumbCentre() - kThumbWidth / 2; }

int CDvSimpleSliderCtrl::ValueAt(int x) const {
    const int span = maximum() - minimum();
    const int offset = std::clamp(x - margin_, 0, kThumbTravel);
    return minimum() + (offset * span + kThumbTravel / 2) / kThumbTravel;
}

void CDvSimpleSliderCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    QPainter& p = surface.Painter();
    p.fillRect(rect(), background_);
    BlitBitmapPart(p, trackImage_, margin_, (height() - kTrackHeight) / 2, kTrackWidth,
                   kTrackHeight, 0, 0);
    BlitBitmapPart(p, thumbImage_, ThumbLeft(), height() / 2 - 7, kThumbWidth, kThumbHeight,
                   kThumbSourceX, 0);
    QPainter window(this);
    surface.CopyTo(window);
}

void CDvSimpleSliderCtrl::PageTowardPress() {
    const int target = ValueAt(pressX_);
    if (value() == target) {
        pageRepeat_.stop();
        return;
    }
    // A page never steps past the point that was pressed.
    const int step = std::min(pageStep(), std::abs(target - value()));
    setValue(value() + (target > value() ? step : -step));
}

void CDvSimpleSliderCtrl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const int x = event->position().toPoint().x();
    if (x >= ThumbLeft() && x < ThumbLeft() + kThumbWidth) {
        dragging_ = true;
        setSliderDown(true);
        return;
    }
    pressX_ = x;
    PageTowardPress();
    pageRepeat_.start(kPageDelayMs);
}

void CDvSimpleSliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_) return;
    setSliderPosition(ValueAt(event->position().toPoint().x()));
}

void CDvSimpleSliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    pageRepeat_.stop();
    if (!dragging_) return;
    dragging_ = false;
    setSliderDown(false);
}

}  // namespace kx
