#include "controls/CSkinVerticleScrollbar.h"

#include "controls/CDvListCtrl.h"
#include "controls/CMemDC2.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"

#include <QMouseEvent>
#include <QPainter>

namespace kx {
namespace {

// The track image's left 12 columns are stretched over the bar's width.
constexpr QRect kTrackSource(0, 0, 12, 1);

}  // namespace

CSkinVerticleScrollbar::CSkinVerticleScrollbar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedWidth(kScrollUnit);
    repeat_.setSingleShot(false);
    connect(&repeat_, &QTimer::timeout, this, &CSkinVerticleScrollbar::Repeat);
}

int CSkinVerticleScrollbar::ScrollLimit() const { return list_ ? list_->ScrollLimit() : 0; }

double CSkinVerticleScrollbar::Scale() const {
    const int limit = ScrollLimit();
    if (limit <= 0) return 0;
    return static_cast<double>(height() - 5 * unit_) / limit;
}

void CSkinVerticleScrollbar::KeepThumbInTrack() {
    if (height() - topOffset_ < unit_ + thumbTop_) thumbTop_ = height() - 3 * unit_;
    if (thumbTop_ < topOffset_) thumbTop_ = topOffset_;
}

void CSkinVerticleScrollbar::UpdateThumb() {
    scale_ = Scale();
    const int position = list_ ? list_->ScrollPosition() : 0;
    thumbTop_ = static_cast<int>(scale_ * position) + topOffset_;
    KeepThumbInTrack();
    update();
}

void CSkinVerticleScrollbar::paintEvent(QPaintEvent*) {
    QPainter window(this);
    CMemDC2 surface(window, rect());
    if (!surface.IsValid()) return;
    QPainter& p = surface.Painter();
    const int h = height();
    p.fillRect(rect(), kColorScrollbarFill);
    BlitBitmapPart(p, skin::kScrollTopCap, 0, 0, unit_, unit_, 0, 0);
    BlitBitmapPart(p, skin::kScrollUpArrow, 0, unit_, unit_, unit_, 0, 0);
    StretchBitmapPart(p, skin::kScrollTrack, QRect(0, topOffset_, unit_, h - topOffset_),
                      kTrackSource);
    BlitBitmapPart(p, skin::kScrollDownArrow, 0, h - 2 * unit_, unit_, unit_, 0, 0);
    BlitBitmapPart(p, skin::kScrollBottomCap, 1, h - unit_, unit_, unit_, 0, 0);
    if (ScrollLimit() != 0) BlitBitmapPart(p, skin::kScrollThumb, 0, thumbTop_, unit_, unit_, 0, 0);
}

CSkinVerticleScrollbar::Area CSkinVerticleScrollbar::HitTest(int y) const {
    const int h = height();
    if (y >= unit_ && y < 2 * unit_) return Area::UpArrow;
    if (y >= h - 2 * unit_ && y < h - unit_) return Area::DownArrow;
    if (y >= thumbTop_ && y < thumbTop_ + unit_) return Area::Thumb;
    if (y >= topOffset_ && y < thumbTop_) return Area::TrackAbove;
    if (y >= thumbTop_ + unit_ && y < h - 2 * unit_) return Area::TrackBelow;
    return Area::None;
}

void CSkinVerticleScrollbar::Repeat() {
    repeat_.setInterval(kScrollRepeatMs);
    if (!list_) return;
    if (downPressed_) list_->LineDown();
    if (upPressed_) list_->LineUp();
    UpdateThumb();
}

void CSkinVerticleScrollbar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    switch (HitTest(event->position().toPoint().y())) {
        case Area::Thumb:
            dragging_ = true;
            break;
        case Area::DownArrow:
            downPressed_ = true;
            repeat_.start(kScrollRepeatDelayMs);
            break;
        case Area::UpArrow:
            upPressed_ = true;
            repeat_.start(kScrollRepeatDelayMs);
            break;
        default:
            break;
    }
}

void CSkinVerticleScrollbar::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!dragging_ || !list_) return;
    thumbTop_ = event->position().toPoint().y() - unit_ / 2;
    scale_ = Scale();
    if (scale_ > 0) {
        const int target = static_cast<int>((thumbTop_ - topOffset_) / scale_);
        list_->ScrollPixels((target - list_->ScrollPosition()) * list_->FirstRowHeight());
    }
    KeepThumbInTrack();
    update();
}

void CSkinVerticleScrollbar::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    UpdateThumb();
    repeat_.stop();
    const Area area = HitTest(event->position().toPoint().y());
    if (list_) {
        if (upPressed_ && area == Area::UpArrow) {
            list_->LineUp();
        } else if (downPressed_ && area == Area::DownArrow) {
            list_->LineDown();
        } else if (area != Area::Thumb && !dragging_) {
            if (area == Area::TrackBelow) list_->PageDown();
            if (area == Area::TrackAbove) list_->PageUp();
        }
        UpdateThumb();
    }
    upPressed_ = downPressed_ = dragging_ = false;
}

}  // namespace kx
