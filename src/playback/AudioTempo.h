#pragma once
// Changes the speed of sound without changing its pitch (libavfilter's atempo), for playing
// rates other than 1.0. Samples are signed 16-bit, channels interleaved.

#include "playback/AudioSink.h"
#include "playback/FfmpegPtr.h"

namespace kx {

class AudioTempo {
public:
    // `tempo` 0.5 to 2.0.
    bool Open(const AudioFormat& format, double tempo);
    bool IsOpen() const { return graph_ != nullptr; }
    // Feeds samples; nullptr marks the end, after which Pull returns what is left.
    bool Push(const AVFrame* frame);
    // The next stretched samples, or null when more input is needed.
    FramePtr Pull();

private:
    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    std::int64_t nextPts_ = 0;
};

}  // namespace kx
