#pragma once
// A sheet the gallery lays its pictures on: captioned rows, left to right, at the sheet's
// pixel ratio.

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <functional>
#include <memory>

namespace kx::gallery {

class GallerySheet {
public:
    GallerySheet(int width, int height, qreal ratio);

    // Starts a new row under everything placed so far, with a heading.
    void Section(const QString& title);
    // Places a picture with a small caption under it, right of the last one (wrapping when the
    // row is full).
    void Place(const QPixmap& picture, const QString& caption);
    void Place(const QImage& picture, const QString& caption);
    // Ends the current row.
    void NewRow();

    QImage Finish();

private:
    void PlaceSized(QSize logical, const QString& caption, const std::function<void(QPoint)>& draw);

    QImage image_;
    std::unique_ptr<QPainter> painter_;
    int width_;
    int x_ = 0;
    int y_ = 0;
    int rowHeight_ = 0;
    int bottom_ = 0;
};

}  // namespace kx::gallery
