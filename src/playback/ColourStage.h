#pragma once
// The colour stage of a channel ("Color Space Convertor k"): turns a decoded picture into the
// 32-bit pixels a window shows, at the window's size (stretched, the aspect not kept), with
// the decoder's brightness offset added to luma and the horizontal mirror applied.

#include "playback/FfmpegPtr.h"
#include "playback/VideoDecoder.h"
#include "playback/VideoSink.h"

#include <cstdint>
#include <vector>

namespace kx {

class ColourStage {
public:
    // The picture points into the stage's own buffer until the next call. An empty size or a
    // failed conversion gives a picture without pixels.
    VideoPicture Convert(const AVFrame& frame, VideoSize size, const PictureSettings& settings);

private:
    const std::uint8_t* BrightenedLuma(const AVFrame& frame, int brightness);

    SwsContextPtr scaler_;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> luma_;
};

}  // namespace kx
