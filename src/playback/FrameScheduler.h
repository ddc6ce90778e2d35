#pragma once
// The graph's presenting thread: shows each channel's pictures when the master clock reaches
// their time, drops a picture whose successor is already due (late pictures are never shown
// in a burst), shows the first picture of every seek at once in every state, and starts the
// clock once the pictures and the sound at the position are ready. It also carries out
// repaint requests, so a window is only ever painted from this thread.

#include "playback/AudioRenderer.h"
#include "playback/PlaybackSync.h"
#include "playback/VideoRenderer.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace kx {

class FrameScheduler {
public:
    // `renderers`: the channels whose decoders are connected; `sound` may be null.
    FrameScheduler(std::vector<VideoRenderer*> renderers, const AudioRenderer* sound, PlaybackSync& sync,
                   double durationSeconds);
    ~FrameScheduler();
    FrameScheduler(const FrameScheduler&) = delete;
    FrameScheduler& operator=(const FrameScheduler&) = delete;

    void Start();
    void Stop();
    void Wake();
    // The seek `serial` returns to the picture on the screen: do not show it again.
    void KeepShownPicture(int serial) { keepSerial_ = serial; }

    // Every channel shows the picture at the current position (or has nothing to show).
    bool WaitForPictures(int timeoutMs);
    // Playing reached the end: every picture shown and the clock at the duration.
    bool WaitForCompletion(int timeoutMs);
    std::uint64_t DroppedPictures() const { return dropped_.load(); }

private:
    void Run();
    // One pass; returns the seconds until something is due, or a negative value for none.
    double Step(int serial);
    void Cue(int serial);
    double ShowDue();
    void StartClockIfReady(int serial);
    bool Drained(VideoRenderer& r, int serial) const;
    bool Cued(VideoRenderer& r, int serial) const;
    bool Complete(int serial) const;

    std::vector<VideoRenderer*> renderers_;
    const AudioRenderer* sound_;
    PlaybackSync& sync_;
    double duration_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wakeCond_;
    std::condition_variable doneCond_;
    bool wake_ = false;
    bool stop_ = false;
    int cuedSerial_ = -1;
    int completeSerial_ = -1;
    std::atomic<int> keepSerial_{-1};
    std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace kx
