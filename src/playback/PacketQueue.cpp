#include "playback/PacketQueue.h"

namespace kx {

void PacketQueue::Put(PacketPtr packet, double seconds) {
    {
        std::lock_guard lock(mutex_);
        if (aborted_) return;
        bytes_ += static_cast<std::size_t>(packet->size);
        seconds_ += seconds;
        packets_.push_back({std::move(packet), mark_, seconds});
    }
    cond_.notify_one();
}

void PacketQueue::PutEnd() {
    {
        std::lock_guard lock(mutex_);
        if (aborted_) return;
        packets_.push_back({nullptr, mark_, 0});
        ended_ = true;
    }
    cond_.notify_one();
}

bool PacketQueue::Get(QueuedPacket& out) {
    {
        std::unique_lock lock(mutex_);
        cond_.wait(lock, [&] { return aborted_ || !packets_.empty(); });
        if (aborted_) return false;
        out = std::move(packets_.front());
        packets_.pop_front();
        if (out.packet) {
            bytes_ -= static_cast<std::size_t>(out.packet->size);
            seconds_ -= out.seconds;
        }
    }
    if (onTake_) onTake_();
    return true;
}

void PacketQueue::Flush(const SeekMark& mark) {
    std::deque<QueuedPacket> dropped;
    {
        std::lock_guard lock(mutex_);
        dropped.swap(packets_);
        bytes_ = 0;
        seconds_ = 0;
        ended_ = false;
        mark_ = mark;
    }
}

void PacketQueue::Abort() {
    {
        std::lock_guard lock(mutex_);
        aborted_ = true;
        packets_.clear();
    }
    cond_.notify_all();
}

int PacketQueue::Serial() const {
    std::lock_guard lock(mutex_);
    return mark_.serial;
}

std::size_t PacketQueue::Count() const {
    std::lock_guard lock(mutex_);
    return packets_.size();
}

std::size_t PacketQueue::Bytes() const {
    std::lock_guard lock(mutex_);
    return bytes_;
}

double PacketQueue::Seconds() const {
    std::lock_guard lock(mutex_);
    return seconds_;
}

bool PacketQueue::Ended() const {
    std::lock_guard lock(mutex_);
    return ended_;
}

}  // namespace kx
