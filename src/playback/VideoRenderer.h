#pragma once
// The renderer of one channel ("Mixing Renderer9-k"): shows pictures in the channel's window
// through its colour stage and keeps the picture shown last, for repaints and captures.
// Show and ShowAgain run on the graph's presenting thread; the rest may be called from any.

#include "playback/ChannelImage.h"
#include "playback/ColourStage.h"
#include "playback/FrameQueue.h"
#include "playback/VideoDecoder.h"
#include "playback/VideoSink.h"

#include <atomic>
#include <mutex>

namespace kx {

class VideoRenderer {
public:
    VideoRenderer(VideoSink& sink, FrameQueue& frames, const VideoDecoder& decoder);

    FrameQueue& Frames() { return frames_; }
    const VideoDecoder& Decoder() const { return decoder_; }

    void Show(QueuedFrame& frame);
    // Counts the frame as shown for its serial without showing it: it is the picture already
    // on the screen.
    void Keep(const QueuedFrame& frame);
    void ShowAgain();

    // Asks the presenting thread to show the current picture again (the window was resized or
    // repainted).
    void RequestRepaint() { repaint_ = true; }
    bool TakeRepaintRequest() { return repaint_.exchange(false); }

    int ShownSerial() const { return shownSerial_.load(); }
    std::int64_t ShownIndex() const { return shownIndex_.load(); }
    std::uint64_t ShownCount() const { return shownCount_.load(); }
    // Recording time of the picture on the screen, seconds; negative before the first.
    double ShownTime() const;
    // The current picture at the channel's own size, as the decoder's settings show it now.
    bool Grab(ChannelImage& image) const;

private:
    void Present(const AVFrame& frame, double time);

    VideoSink& sink_;
    FrameQueue& frames_;
    const VideoDecoder& decoder_;
    ColourStage colour_;
    mutable std::mutex shownMutex_;
    FramePtr shown_;
    double shownTime_ = -1;
    std::atomic<int> shownSerial_{-1};
    std::atomic<std::int64_t> shownIndex_{-1};
    std::atomic<std::uint64_t> shownCount_{0};
    std::atomic<bool> repaint_{false};
};

}  // namespace kx
