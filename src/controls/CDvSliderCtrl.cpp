#include "controls/CDvSliderCtrl.h"

#include "controls/CMemoryDC.h"
#include "controls/IMainWindowLink.h"
#include "controls/ISeekTarget.h"
#include "controls/ResourceDrawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kx {
namespace {

// Track image: a 10-pixel slice at x 10 is tiled; its ends are the 10 pixels at x 0 and x 537.
constexpr int kSliceWidth = 10;
constexpr int kRightEndX = 537;
constexpr int kTrackImageHeight = 9;
constexpr int kTrackTop = 10;
constexpr int kTrackSpare = 20;  // client height minus the track surface's height
constexpr int kFillWidth = 3;
constexpr int kFillHeight = 7;
constexpr int kThumbWidth = 11;
constexpr int kThumbHeight = 22;

}  // namespace

CDvSliderCtrl::CDvSliderCtrl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setRange(0, 0);
}

bool CDvSliderCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvSliderCtrl::SetImages(int track, int thumb, int fill) {
    trackImage_ = track;
    thumbImage_ = thumb;
    fillImage_ = fill;
    update();
}

void CDvSliderCtrl::SetBackground(QColor colour) {
    background_ = colour;
    update();
}

void CDvSliderCtrl::SetMargin(int margin) {
    margin_ = margin;
    update();
}

int CDvSliderCtrl::PositionAt(int x) const {
    if (width() <= 0) return minimum();
    // 64-bit: an hour in milliseconds times a few hundred pixels does not fit in 32 bits.
    const std::int64_t position = static_cast<std::int64_t>(x) * maximum() / width();
    return static_cast<int>(std::clamp<std::int64_t>(position, minimum(), maximum()));
}

int CDvSliderCtrl::ThumbLeft() const {
    const int w = width() - 2 * margin_;
    const int centre = maximum() > 0 ? margin_ + static_cast<int>(static_cast<std::int64_t>(
                                                     value()) * w / maximum())
                                     : margin_;
    return centre - kThumbWidth / 2;
}

void CDvSliderCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    QPainter& p = surface.Painter();
    p.fillRect(rect(), background_);

    const int w = width() - 2 * margin_;
    const int trackHeight = height() - kTrackSpare;
    CMemoryDC track;
    if (track.Create(this, w, trackHeight)) {
        QPainter& t = track.Painter();
        t.fillRect(QRect(0, 0, w, trackHeight), background_);
        for (int i = 0; i <= w / kSliceWidth; ++i)
            BlitBitmapPart(t, trackImage_, i * kSliceWidth, 0, kSliceWidth, kTrackImageHeight,
                           kSliceWidth, 0);
        BlitBitmapPart(t, trackImage_, 0, 0, kSliceWidth, kTrackImageHeight, 0, 0);
        BlitBitmapPart(t, trackImage_, w - kSliceWidth, 0, kSliceWidth, kTrackImageHeight,
                       kRightEndX, 0);
        const int played =
            maximum() > 0 ? static_cast<int>(static_cast<std::int64_t>(value()) * w / maximum())
                          : 0;
        CMemoryDC fill;
        if (played > 0 && fill.Create(this, w, kFillHeight)) {
            for (int i = 0; i <= w / kFillWidth; ++i)
                BlitBitmapPart(fill.Painter(), fillImage_, i * kFillWidth, 0, kFillWidth,
                               kFillHeight, 0, 0);
            t.drawImage(QRect(0, 1, played, kFillHeight), fill.Finish(),
                        QRect(QPoint(0, 0), QSize(played, kFillHeight) *
                                                fill.Finish().devicePixelRatio()));
        }
        track.CopyTo(p, margin_, kTrackTop);
    }
    BlitBitmapPart(p, thumbImage_, ThumbLeft(), (height() - kThumbHeight) / 2, kThumbWidth,
                   kThumbHeight, 0, 0);

    QPainter window(this);
    surface.CopyTo(window);
}

bool CDvSliderCtrl::Busy() const { return link_ && link_->IsBusy(); }

void CDvSliderCtrl::SeekTo(int x) {
    const int position = PositionAt(x);
    if (seekTarget_ && seekTarget_->IsRecordingOpen()) seekTarget_->SeekMs(position);
    setValue(position);
    repaint();
}

void CDvSliderCtrl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (Busy() || event->button() != Qt::LeftButton) return;
    dragging_ = true;
    SeekTo(event->position().toPoint().x());
}

void CDvSliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (Busy() || !dragging_) return;
    SeekTo(event->position().toPoint().x());
}

void CDvSliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (Busy() || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    SeekTo(event->position().toPoint().x());
    if (link_) link_->FocusDesignatedControl();
}

// The position belongs to the mouse and the main window's timer alone.
void CDvSliderCtrl::wheelEvent(QWheelEvent* event) { event->ignore(); }
void CDvSliderCtrl::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }

}  // namespace kx
