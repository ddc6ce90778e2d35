#include "playback/ColourStage.h"

#include <algorithm>
#include <array>
#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kx {

namespace {

constexpr int kBytesPerPixel = 4;

// Planar YUV with luma in plane 0: the offset can be added to that plane alone.
bool HasLumaPlane(AVPixelFormat format) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
    return d && (d->flags & AV_PIX_FMT_FLAG_PLANAR) && !(d->flags & AV_PIX_FMT_FLAG_RGB) && d->nb_components >= 3;
}

void MirrorRows(std::uint8_t* pixels, int width, int height, int stride) {
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
        std::reverse(row, row + width);
    }
}

}  // namespace

const std::uint8_t* ColourStage::BrightenedLuma(const AVFrame& frame, int brightness) {
    std::array<std::uint8_t, 256> table;
    for (int v = 0; v < 256; ++v) table[v] = static_cast<std::uint8_t>(std::clamp(v + brightness, 0, 255));
    luma_.resize(static_cast<std::size_t>(frame.width) * frame.height);
    for (int y = 0; y < frame.height; ++y) {
        const std::uint8_t* in = frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0];
        std::uint8_t* out = luma_.data() + static_cast<std::ptrdiff_t>(y) * frame.width;
        for (int x = 0; x < frame.width; ++x) out[x] = table[in[x]];
    }
    return luma_.data();
}

VideoPicture ColourStage::Convert(const AVFrame& frame, VideoSize size, const PictureSettings& settings) {
    VideoPicture picture;
    if (size.Empty() || frame.width <= 0 || frame.height <= 0) return picture;
    const auto format = static_cast<AVPixelFormat>(frame.format);
    SwsContext* scaler = sws_getCachedContext(scaler_.release(), frame.width, frame.height, format, size.width,
                                              size.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    scaler_.reset(scaler);
    if (!scaler) return picture;

    const std::uint8_t* planes[4] = {frame.data[0], frame.data[1], frame.data[2], frame.data[3]};
    int strides[4] = {frame.linesize[0], frame.linesize[1], frame.linesize[2], frame.linesize[3]};
    if (settings.brightness != 0 && HasLumaPlane(format)) {
        planes[0] = BrightenedLuma(frame, settings.brightness);
        strides[0] = frame.width;
    }
    const int stride = size.width * kBytesPerPixel;
    pixels_.resize(static_cast<std::size_t>(stride) * size.height);
    std::uint8_t* out[4] = {pixels_.data(), nullptr, nullptr, nullptr};
    const int outStrides[4] = {stride, 0, 0, 0};
    if (sws_scale(scaler, planes, strides, 0, frame.height, out, outStrides) != size.height) return picture;
    if (settings.mirror) MirrorRows(pixels_.data(), size.width, size.height, stride);

    picture.width = size.width;
    picture.height = size.height;
    picture.stride = stride;
    picture.pixels = pixels_.data();
    return picture;
}

}  // namespace kx
