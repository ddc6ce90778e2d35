#pragma once
// A channel's still picture (as the player grabs it) as a QImage that owns its pixels; null when
// the grab gave nothing.

#include "playback/ChannelImage.h"

#include <QImage>

namespace kx {

inline QImage ChannelPicture(const ChannelImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.pixels.empty()) return {};
    // B, G, R, A bytes in memory are the 0xAARRGGBB pixels of Format_RGB32; no row padding.
    return QImage(image.pixels.data(), image.width, image.height, image.width * 4, QImage::Format_RGB32).copy();
}

}  // namespace kx
