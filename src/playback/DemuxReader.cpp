#include "playback/DemuxReader.h"

namespace kx {

namespace {

// ffplay's rule: the reader rests when the queues hold this much in all, or when every stream
// has at least this many packets covering at least this long.
constexpr std::size_t kMaxQueuedBytes = 16u << 20;
constexpr std::size_t kEnoughPackets = 25;
constexpr double kEnoughSeconds = 1.0;

}  // namespace

DemuxReader::DemuxReader(MoviReader& demux, const std::vector<OutputPin>& pins, std::vector<PacketQueue*> queues)
    : demux_(demux), pins_(pins), queues_(std::move(queues)) {
    for (std::size_t p = 0; p < queues_.size(); ++p) demux_.SetWanted(p, queues_[p] != nullptr);
}

DemuxReader::~DemuxReader() { Stop(); }

void DemuxReader::Start(const SeekMark& first) {
    seek_ = first;
    thread_ = std::thread([this] { Run(); });
}

void DemuxReader::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cond_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void DemuxReader::Seek(const SeekMark& mark) {
    {
        std::lock_guard lock(mutex_);
        seek_ = mark;
    }
    cond_.notify_all();
}

void DemuxReader::Wake() {
    { std::lock_guard lock(mutex_); }
    cond_.notify_all();
}

bool DemuxReader::Full() const {
    std::size_t bytes = 0;
    bool allEnough = true;
    for (const PacketQueue* q : queues_) {
        if (!q) continue;
        bytes += q->Bytes();
        allEnough = allEnough && (q->Ended() || (q->Count() > kEnoughPackets && q->Seconds() > kEnoughSeconds));
    }
    return bytes > kMaxQueuedBytes || allEnough;
}

void DemuxReader::Run() {
    bool atEnd = false;
    PacketPtr packet = MakePacket();
    for (;;) {
        std::optional<SeekMark> seek;
        {
            std::unique_lock lock(mutex_);
            cond_.wait(lock, [&] { return stop_ || seek_ || (!atEnd && !Full()); });
            if (stop_) return;
            seek.swap(seek_);
        }
        if (seek) {
            for (PacketQueue* q : queues_)
                if (q) q->Flush(*seek);
            demux_.Seek(seek->targetMs);
            atEnd = false;
            continue;
        }
        std::size_t pin = 0;
        if (!packet) packet = MakePacket();
        if (!packet) continue;
        if (!demux_.Next(pin, *packet)) {
            for (PacketQueue* q : queues_)
                if (q) q->PutEnd();
            atEnd = true;
            continue;
        }
        const double seconds = static_cast<double>(packet->duration) * pins_[pin].UnitSeconds();
        queues_[pin]->Put(std::move(packet), seconds);
    }
}

}  // namespace kx
