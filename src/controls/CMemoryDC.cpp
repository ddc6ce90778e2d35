#include "controls/CMemoryDC.h"

#include <QPaintDevice>

#include <cmath>

namespace kx {

CMemoryDC::~CMemoryDC() {
    if (painter_ && painter_->isActive()) painter_->end();
}

bool CMemoryDC::Create(const QPaintDevice* reference, int width, int height) {
    if (painter_ || width <= 0 || height <= 0) return false;
    const qreal ratio = reference ? reference->devicePixelRatio() : 1.0;
    const QSize pixels(static_cast<int>(std::ceil(width * ratio)),
                       static_cast<int>(std::ceil(height * ratio)));
    image_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image_.isNull()) return false;
    image_.setDevicePixelRatio(ratio);
    image_.fill(Qt::black);
    painter_ = std::make_unique<QPainter>(&image_);
    return true;
}

const QImage& CMemoryDC::Finish() {
    if (painter_ && painter_->isActive()) painter_->end();
    return image_;
}

void CMemoryDC::CopyTo(QPainter& target, int x, int y) {
    if (!painter_) return;
    Finish();
    target.save();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(QPoint(x, y), image_);
    target.restore();
}

}  // namespace kx
