#include "GallerySheet.h"

#include <QFont>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kx::gallery {
namespace {

constexpr int kMargin = 16;
constexpr int kGap = 14;
constexpr int kCaptionHeight = 16;
constexpr int kHeadingHeight = 28;
constexpr QColor kSheet{26, 26, 26};
constexpr QColor kHeading{235, 235, 235};
constexpr QColor kCaption{150, 150, 150};

QFont SheetFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({"Noto Sans", "Noto Sans CJK KR"});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

GallerySheet::GallerySheet(int width, int height, qreal ratio) : width_(width) {
    image_ = QImage(QSize(static_cast<int>(std::ceil(width * ratio)),
                          static_cast<int>(std::ceil(height * ratio))),
                    QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(kSheet);
    painter_ = std::make_unique<QPainter>(&image_);
    x_ = kMargin;
    y_ = kMargin;
}

void GallerySheet::NewRow() {
    if (rowHeight_ > 0) y_ += rowHeight_ + kGap;
    x_ = kMargin;
    rowHeight_ = 0;
}

void GallerySheet::Section(const QString& title) {
    NewRow();
    y_ += 6;
    painter_->setFont(SheetFont(15, true));
    painter_->setPen(kHeading);
    painter_->drawText(QRect(kMargin, y_, width_ - 2 * kMargin, kHeadingHeight),
                       Qt::AlignLeft | Qt::AlignVCenter, title);
    painter_->fillRect(QRect(kMargin, y_ + kHeadingHeight - 3, width_ - 2 * kMargin, 1),
                       QColor(60, 60, 60));
    y_ += kHeadingHeight + 6;
    bottom_ = std::max(bottom_, y_);
}

void GallerySheet::PlaceSized(QSize logical, const QString& caption,
                              const std::function<void(QPoint)>& draw) {
    const int captionWidth = caption.isEmpty() ? 0 : static_cast<int>(caption.size()) * 6 + 6;
    const int cellWidth = std::max(logical.width(), captionWidth);
    if (x_ > kMargin && x_ + cellWidth > width_ - kMargin) NewRow();
    draw(QPoint(x_, y_));
    if (!caption.isEmpty()) {
        painter_->setFont(SheetFont(11, false));
        painter_->setPen(kCaption);
        painter_->drawText(QRect(x_, y_ + logical.height() + 2, cellWidth + 40, kCaptionHeight),
                           Qt::AlignLeft | Qt::AlignTop, caption);
    }
    rowHeight_ = std::max(rowHeight_, logical.height() + (caption.isEmpty() ? 0 : kCaptionHeight));
    bottom_ = std::max(bottom_, y_ + rowHeight_);
    x_ += cellWidth + kGap;
}

void GallerySheet::Place(const QPixmap& picture, const QString& caption) {
    const QSize logical = (QSizeF(picture.size()) / picture.devicePixelRatio()).toSize();
    PlaceSized(logical, caption, [&](QPoint at) { painter_->drawPixmap(at, picture); });
}

void GallerySheet::Place(const QImage& picture, const QString& caption) {
    const QSize logical = (QSizeF(picture.size()) / picture.devicePixelRatio()).toSize();
    PlaceSized(logical, caption, [&](QPoint at) { painter_->drawImage(at, picture); });
}

QImage GallerySheet::Finish() {
    NewRow();
    painter_->end();
    const qreal ratio = image_.devicePixelRatio();
    const int used = static_cast<int>(std::ceil((bottom_ + kMargin) * ratio));
    return image_.copy(0, 0, image_.width(), std::min(used, image_.height()));
}

}  // namespace kx::gallery
