#pragma once
// The skin's images by number. The skin generator draws them at build time and the build
// embeds them; a number names an opaque "bitmap" image or a "PNG" image with alpha, each drawn
// for pixel ratios 1 and 2. Images are decoded on first use and kept for the run.

#include <QColor>
#include <QImage>
#include <QSize>

namespace kx {

struct SkinImage {
    QImage image;    // pixel ratio 1
    QImage image2x;  // pixel ratio 2; null when only the single size exists
    bool png = false;

    QSize size() const { return image.size(); }
    // The image that suits a device pixel ratio, and its scale against the logical size.
    const QImage& ForRatio(qreal ratio) const;
    int ScaleFor(qreal ratio) const;
};

class SkinRegistry {
public:
    // The image of `number`: the bitmap kind first, then the PNG kind. nullptr when the skin
    // has no such image.
    static const SkinImage* Find(int number);
    // Only the PNG kind.
    static const SkinImage* FindPng(int number);
    // The bitmap (or PNG) image with every pixel of the key colour made transparent.
    static const SkinImage* FindKeyed(int number, QColor key);
};

}  // namespace kx
