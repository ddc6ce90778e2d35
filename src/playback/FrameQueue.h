#pragma once
// Decoded frames from a decoder to the stage that shows or plays them: a small bounded ring.
// A decoder blocks while it is full, unless its frame became stale (a seek started a newer
// serial) or the queue was aborted.

#include "playback/FfmpegPtr.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace kx {

struct QueuedFrame {
    FramePtr frame;
    int serial = 0;
    double time = 0;      // recording time of the first picture or sample, seconds
    double duration = 0;  // recording time it covers, seconds
    std::int64_t index = 0;  // video: the frame's number in its stream
};

class FrameQueue {
public:
    // `current` is the graph's serial; `onPush` runs after a frame was queued.
    FrameQueue(std::size_t capacity, const std::atomic<int>& current, std::function<void()> onPush = {});
    FrameQueue(const FrameQueue&) = delete;
    FrameQueue& operator=(const FrameQueue&) = delete;

    // Waits for room; a frame that became stale meanwhile is dropped. False when aborted.
    bool Push(QueuedFrame frame);
    // The i-th queued frame, or null. Only the consuming thread may call it and Pop; a
    // pointer stays valid until that thread pops the frame.
    QueuedFrame* Peek(std::size_t i = 0);
    void Pop();
    // Moves the front frame out; false when empty. For a consumer that keeps no Peek pointer.
    bool Take(QueuedFrame& out);
    // Pops the frames at the front whose serial is not the current one. Safe from any thread
    // as long as the consumer uses Take rather than Peek.
    void DropStale();
    bool Holds(int serial) const;
    std::size_t Count() const;
    // Wakes a waiting Push so that it checks again whether its frame is still wanted.
    void Wake();
    void Abort();

private:
    std::vector<QueuedFrame> ring_;
    std::size_t read_ = 0;
    std::size_t count_ = 0;
    const std::atomic<int>& current_;
    std::function<void()> onPush_;
    mutable std::mutex mutex_;
    std::condition_variable cond_;
    bool aborted_ = false;
};

}  // namespace kx
