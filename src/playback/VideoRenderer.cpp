#include "playback/VideoRenderer.h"

#include <cstring>

namespace kx {

VideoRenderer::VideoRenderer(VideoSink& sink, FrameQueue& frames, const VideoDecoder& decoder)
    : sink_(sink), frames_(frames), decoder_(decoder) {}

void VideoRenderer::Present(const AVFrame& frame, double time) {
    VideoPicture picture = colour_.Convert(frame, sink_.Size(), decoder_.Settings());
    picture.time = time;
    sink_.Present(picture);
}

void VideoRenderer::Show(QueuedFrame& frame) {
    Present(*frame.frame, frame.time);
    {
        std::lock_guard lock(shownMutex_);
        shown_ = std::move(frame.frame);
        shownTime_ = frame.time;
    }
    shownIndex_ = frame.index;
    shownSerial_ = frame.serial;
    ++shownCount_;
}

void VideoRenderer::Keep(const QueuedFrame& frame) { shownSerial_ = frame.serial; }

double VideoRenderer::ShownTime() const {
    std::lock_guard lock(shownMutex_);
    return shown_ ? shownTime_ : -1;
}

void VideoRenderer::ShowAgain() {
    // The presenting thread is the only one that replaces the picture, so it may be read here
    // without holding the lock through the conversion.
    const AVFrame* shown = nullptr;
    double time = 0;
    {
        std::lock_guard lock(shownMutex_);
        shown = shown_.get();
        time = shownTime_;
    }
    if (shown) Present(*shown, time);
}

bool VideoRenderer::Grab(ChannelImage& image) const {
    FramePtr frame;
    {
        std::lock_guard lock(shownMutex_);
        if (!shown_) return false;
        frame.reset(av_frame_clone(shown_.get()));
    }
    if (!frame) return false;
    ColourStage colour;
    const VideoPicture picture = colour.Convert(*frame, {frame->width, frame->height}, decoder_.Settings());
    if (!picture.pixels) return false;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels.resize(static_cast<std::size_t>(picture.stride) * picture.height);
    std::memcpy(image.pixels.data(), picture.pixels, image.pixels.size());
    return true;
}

}  // namespace kx
