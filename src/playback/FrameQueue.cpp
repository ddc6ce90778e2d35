#include "playback/FrameQueue.h"

namespace kx {

FrameQueue::FrameQueue(std::size_t capacity, const std::atomic<int>& current, std::function<void()> onPush)
    : ring_(capacity), current_(current), onPush_(std::move(onPush)) {}

bool FrameQueue::Push(QueuedFrame frame) {
    {
        std::unique_lock lock(mutex_);
        cond_.wait(lock, [&] { return aborted_ || count_ < ring_.size() || frame.serial != current_.load(); });
        if (aborted_) return false;
        if (frame.serial != current_.load()) return true;
        ring_[(read_ + count_) % ring_.size()] = std::move(frame);
        ++count_;
    }
    if (onPush_) onPush_();
    return true;
}

QueuedFrame* FrameQueue::Peek(std::size_t i) {
    std::lock_guard lock(mutex_);
    return i < count_ ? &ring_[(read_ + i) % ring_.size()] : nullptr;
}

void FrameQueue::Pop() {
    FramePtr released;
    {
        std::lock_guard lock(mutex_);
        if (count_ == 0) return;
        released = std::move(ring_[read_].frame);
        read_ = (read_ + 1) % ring_.size();
        --count_;
    }
    cond_.notify_all();
}

bool FrameQueue::Take(QueuedFrame& out) {
    {
        std::lock_guard lock(mutex_);
        if (count_ == 0) return false;
        out = std::move(ring_[read_]);
        read_ = (read_ + 1) % ring_.size();
        --count_;
    }
    cond_.notify_all();
    return true;
}

void FrameQueue::DropStale() {
    std::vector<FramePtr> dropped;
    {
        std::lock_guard lock(mutex_);
        while (count_ > 0 && ring_[read_].serial != current_.load()) {
            dropped.push_back(std::move(ring_[read_].frame));
            read_ = (read_ + 1) % ring_.size();
            --count_;
        }
    }
    if (!dropped.empty()) cond_.notify_all();
}

bool FrameQueue::Holds(int serial) const {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < count_; ++i)
        if (ring_[(read_ + i) % ring_.size()].serial == serial) return true;
    return false;
}

std::size_t FrameQueue::Count() const {
    std::lock_guard lock(mutex_);
    return count_;
}

void FrameQueue::Wake() {
    { std::lock_guard lock(mutex_); }
    cond_.notify_all();
}

void FrameQueue::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
    }
    cond_.notify_all();
}

}  // namespace kx
