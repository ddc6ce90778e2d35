#include "controls/ResourceDrawing.h"

#include "controls/SkinRegistry.h"

#include <QPaintDevice>
#include <QPainter>

namespace kx {
namespace {

qreal RatioOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? device->devicePixelRatio() : 1.0;
}

// Copies the logical rectangle `source` of `skin` to `destination` with the image that suits
// the target's pixel ratio. The source is clipped to the image, and the destination with it.
void Copy(QPainter& target, const SkinImage& skin, QRect destination, QRect source,
          QPainter::CompositionMode mode) {
    const QRect inside = source.intersected(QRect(QPoint(0, 0), skin.size()));
    if (inside.isEmpty()) return;
    if (destination.size() == source.size()) {
        destination = QRect(destination.topLeft() + (inside.topLeft() - source.topLeft()),
                            inside.size());
        source = inside;
    }
    const qreal ratio = RatioOf(target);
    const int scale = skin.ScaleFor(ratio);
    const QRect pixels(source.topLeft() * scale, source.size() * scale);
    target.save();
    target.setCompositionMode(mode);
    // Whole-pixel ratios copy pixel for pixel; any other ratio is resampled smoothly.
    target.setRenderHint(QPainter::SmoothPixmapTransform,
                         destination.size() == source.size() && ratio != scale);
    target.drawImage(destination, skin.ForRatio(ratio), pixels);
    target.restore();
}

}  // namespace

bool DrawBitmapResource(int height, int width, QPainter& target, int resource, int x, int y,
                        bool transparent, QColor key) {
    const SkinImage* skin =
        transparent ? SkinRegistry::FindKeyed(resource, key) : SkinRegistry::Find(resource);
    if (!skin) return false;
    const QPainter::CompositionMode mode = transparent || skin->png
                                               ? QPainter::CompositionMode_SourceOver
                                               : QPainter::CompositionMode_Source;
    Copy(target, *skin, QRect(x, y, width, height), QRect(0, 0, width, height), mode);
    return true;
}

bool BlitBitmapPart(QPainter& target, int resource, int x, int y, int width, int height,
                    int sourceX, int sourceY) {
    const SkinImage* skin = SkinRegistry::Find(resource);
    if (!skin) return false;
    Copy(target, *skin, QRect(x, y, width, height), QRect(sourceX, sourceY, width, height),
         QPainter::CompositionMode_Source);
    return true;
}

bool StretchBitmapPart(QPainter& target, int resource, const QRect& destination,
                       const QRect& source) {
    const SkinImage* skin = SkinRegistry::Find(resource);
    if (!skin) return false;
    Copy(target, *skin, destination, source, QPainter::CompositionMode_Source);
    return true;
}

bool DrawPngResource(QPainter& target, int resource, int x, int y) {
    const SkinImage* skin = SkinRegistry::FindPng(resource);
    if (!skin) return false;
    Copy(target, *skin, QRect(QPoint(x, y), skin->size()), QRect(QPoint(0, 0), skin->size()),
         QPainter::CompositionMode_SourceOver);
    return true;
}

QSize ResourceSize(int resource) {
    const SkinImage* skin = SkinRegistry::Find(resource);
    return skin ? skin->size() : QSize();
}

}  // namespace kx
