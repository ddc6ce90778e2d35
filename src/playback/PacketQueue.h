#pragma once
// Packets from the reader thread to one decoder. Every packet carries the seek it belongs to
// (its serial, the target and the tempo then in effect): a seek flushes the queue and starts a
// new serial, and a decoder that sees a new serial drops what it holds from before. No
// handshake between the threads is needed to make a seek exact.

#include "playback/FfmpegPtr.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace kx {

struct SeekMark {
    int serial = 0;
    std::int64_t targetMs = 0;  // nothing before this moment is shown or heard
    float tempo = 1.0f;         // the playing rate the sound is stretched to
};

struct QueuedPacket {
    PacketPtr packet;  // null: the stream ends here
    SeekMark mark;
    double seconds = 0;  // the packet's length
};

class PacketQueue {
public:
    // `onTake` runs (outside the queue's lock) after a decoder took a packet: the reader
    // sleeps while the queues are full and needs to hear when they drain.
    explicit PacketQueue(std::function<void()> onTake = {}) : onTake_(std::move(onTake)) {}
    PacketQueue(const PacketQueue&) = delete;
    PacketQueue& operator=(const PacketQueue&) = delete;

    void Put(PacketPtr packet, double seconds);
    void PutEnd();
    // Blocks until a packet is there; false when the queue was aborted.
    bool Get(QueuedPacket& out);
    // Drops every packet; the ones put afterwards carry `mark`.
    void Flush(const SeekMark& mark);
    // Wakes and refuses every waiting and later Get.
    void Abort();

    int Serial() const;
    std::size_t Count() const;
    std::size_t Bytes() const;
    double Seconds() const;
    bool Ended() const;  // the end marker of the current serial was put

private:
    mutable std::mutex mutex_;
    std::condition_variable cond_;
    std::deque<QueuedPacket> packets_;
    SeekMark mark_;
    std::size_t bytes_ = 0;
    double seconds_ = 0;
    bool ended_ = false;
    bool aborted_ = false;
    std::function<void()> onTake_;
};

}  // namespace kx
