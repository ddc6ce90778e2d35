#pragma once
// The decoder stage of one camera channel ("FFDShow Decoder k"): a thread that decodes the
// channel's H.264 packets with libavcodec and queues the pictures from the seek target on.
// PutParam takes the picture parameters by their numbers; they apply to every picture shown
// afterwards.

#include "playback/FrameQueue.h"
#include "playback/MediaResult.h"
#include "playback/OutputPin.h"
#include "playback/PacketQueue.h"

#include <atomic>
#include <functional>
#include <thread>

namespace kx {

// Parameter numbers of PutParam.
inline constexpr unsigned kParamPictureAdjust = 205;  // 1: picture adjustment on
inline constexpr unsigned kParamBrightness = 202;     // -254..254 added to luma
inline constexpr unsigned kParamFlip = 1101;          // 1: flipping on
inline constexpr unsigned kParamMirror = 1113;        // 1/0: horizontal mirror on/off
inline constexpr int kMaxBrightness = 254;

struct PictureSettings {
    int brightness = 0;
    bool mirror = false;
};

class VideoDecoder {
public:
    // `threads`: libavcodec threads for this channel. `onFinished` runs when the end of the
    // stream has been decoded.
    VideoDecoder(const OutputPin& pin, PacketQueue& packets, FrameQueue& frames, int threads,
                 std::function<void()> onFinished);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // Opens the codec for the pin; false leaves the channel dark.
    bool Connect();
    bool Connected() const { return context_ != nullptr; }
    void Start();
    // Joins the thread; the owner aborts the queues first.
    void Join();

    // kSOk, or kEInvalidArg for a number the stage does not know.
    HResult PutParam(unsigned param, int value);
    PictureSettings Settings() const;

    // The end of the stream has been decoded and queued for seek `serial`.
    bool Finished(int serial) const { return finished_.load() == serial; }

private:
    void Run();
    bool ReceiveFrames(const SeekMark& mark);

    const OutputPin& pin_;
    PacketQueue& packets_;
    FrameQueue& frames_;
    int threads_;
    std::function<void()> onFinished_;
    CodecContextPtr context_;
    std::thread thread_;
    std::atomic<int> finished_{-1};
    std::int64_t lastIndex_ = 0;  // the stream's last frame number
    std::atomic<bool> adjust_{false};
    std::atomic<int> brightness_{0};
    std::atomic<bool> flip_{false};
    std::atomic<bool> mirror_{false};
};

}  // namespace kx
