#pragma once
// The graph's reader thread: drives the parse stage's demultiplexer and fills the decoders'
// packet queues. It sleeps while the queues hold enough, and wakes for a seek, which it
// carries out between two packets: flush every queue under the new serial, then read on from
// the target.

#include "playback/MoviReader.h"
#include "playback/PacketQueue.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kx {

class DemuxReader {
public:
    // `queues`: per pin of the parse stage, the queue its packets go to (null: not read).
    DemuxReader(MoviReader& demux, const std::vector<OutputPin>& pins, std::vector<PacketQueue*> queues);
    ~DemuxReader();
    DemuxReader(const DemuxReader&) = delete;
    DemuxReader& operator=(const DemuxReader&) = delete;

    // Starts reading at `first`.
    void Start(const SeekMark& first);
    void Stop();
    void Seek(const SeekMark& mark);
    // A decoder took a packet: the queues may have room again.
    void Wake();

private:
    void Run();
    bool Full() const;

    MoviReader& demux_;
    const std::vector<OutputPin>& pins_;
    std::vector<PacketQueue*> queues_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cond_;
    std::optional<SeekMark> seek_;
    bool stop_ = false;
};

}  // namespace kx
