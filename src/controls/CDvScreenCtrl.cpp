#include "controls/CDvScreenCtrl.h"

#include "controls/ControlConstants.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace kx {

CDvScreenCtrl::CDvScreenCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameScreenWnd);
}

bool CDvScreenCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvScreenCtrl::PresentFrame(QImage frame) {
    {
        std::lock_guard lock(frameMutex_);
        frame_.swap(frame);
    }
    // The old picture is released here, outside the lock.
    RequestRepaint();
}

void CDvScreenCtrl::PresentPixels(const uchar* pixels, int width, int height, int bytesPerLine,
                                  QImage::Format format) {
    if (!pixels || width <= 0 || height <= 0) return;
    PresentFrame(QImage(pixels, width, height, bytesPerLine, format).copy());
}

void CDvScreenCtrl::ClearFrame() { PresentFrame(QImage()); }

QImage CDvScreenCtrl::CurrentFrame() const {
    std::lock_guard lock(frameMutex_);
    return frame_;
}

QSize CDvScreenCtrl::TargetPixelSize() const { return {targetWidth_.load(), targetHeight_.load()}; }

VideoSize CDvScreenCtrl::Size() const {
    if (!shown_) return {};
    return {targetWidth_.load(), targetHeight_.load()};
}

void CDvScreenCtrl::Present(const VideoPicture& picture) {
    // A picture for an empty window has no pixels: the screen keeps what it shows.
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return;
    // B, G, R, A bytes in memory are the 32-bit 0xAARRGGBB pixels of Format_RGB32.
    PresentPixels(picture.pixels, picture.width, picture.height, picture.stride,
                  QImage::Format_RGB32);
}

void CDvScreenCtrl::RequestRepaint() {
    if (repaintPending_.exchange(true)) return;
    // Queued by name: the call carries no data of ours across threads.
    QMetaObject::invokeMethod(this, "OnRepaintRequested", Qt::QueuedConnection);
}

void CDvScreenCtrl::OnRepaintRequested() {
    repaintPending_ = false;
    update();
}

void CDvScreenCtrl::paintEvent(QPaintEvent*) {
    const QImage frame = CurrentFrame();
    QPainter p(this);
    if (frame.isNull()) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    // The picture fills the whole screen: the owner gives the screen the picture's shape.
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), frame);
}

void CDvScreenCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CDvScreenCtrl::resizeEvent(QResizeEvent* event) {
    const qreal ratio = devicePixelRatio();
    targetWidth_ = static_cast<int>(std::lround(width() * ratio));
    targetHeight_ = static_cast<int>(std::lround(height() * ratio));
    QWidget::resizeEvent(event);
}

void CDvScreenCtrl::showEvent(QShowEvent* event) {
    shown_ = true;
    QWidget::showEvent(event);
}

void CDvScreenCtrl::hideEvent(QHideEvent* event) {
    shown_ = false;
    QWidget::hideEvent(event);
}

}  // namespace kx
