#include "playback/MoviReader.h"

#include <algorithm>
#include <cstring>

namespace kx {

MoviReader::MoviReader(const ByteSource& source, const MoviIndex& index, const std::vector<OutputPin>& pins)
    : source_(source), index_(index), pins_(pins), wanted_(pins.size(), false), firstChunk_(pins.size(), 0) {
    for (std::size_t p = 0; p < pins.size(); ++p) {
        if (pins[p].media == PinMedia::Text) continue;
        const auto stream = static_cast<std::size_t>(pins[p].stream);
        if (pinOfStream_.size() <= stream) pinOfStream_.resize(stream + 1, -1);
        pinOfStream_[stream] = static_cast<int>(p);
    }
}

void MoviReader::SetWanted(std::size_t pin, bool wanted) {
    if (pin < wanted_.size() && pins_[pin].media != PinMedia::Text) wanted_[pin] = wanted;
}

bool MoviReader::Next(std::size_t& pin, AVPacket& packet) {
    const auto& chunks = index_.Chunks();
    while (cursor_ < chunks.size()) {
        const std::size_t at = cursor_++;
        const MoviChunk& chunk = chunks[at];
        if (chunk.stream >= pinOfStream_.size() || pinOfStream_[chunk.stream] < 0) continue;
        const auto p = static_cast<std::size_t>(pinOfStream_[chunk.stream]);
        // A zero-length video chunk repeats the previous picture: nothing to decode.
        if (!wanted_[p] || at < firstChunk_[p] || chunk.size == 0) continue;

        // Header and data in one read; the header must name the stream the index names.
        av_packet_unref(&packet);
        if (av_new_packet(&packet, static_cast<int>(chunk.size) + 8) < 0) continue;
        const std::size_t got = source_.ReadAt(chunk.offset, packet.data, std::size_t{chunk.size} + 8);
        if (got <= 8 || ChunkStream(ReadLE32(packet.data)) != chunk.stream) continue;
        const std::size_t size = std::min<std::size_t>({got - 8, ReadLE32(packet.data + 4), chunk.size});
        packet.data += 8;
        packet.size = static_cast<int>(size);
        std::memset(packet.data + size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
        packet.pts = packet.dts = chunk.start;
        const OutputPin& info = pins_[p];
        packet.duration = info.media == PinMedia::Audio && info.sampleSize ? static_cast<std::int64_t>(size / info.sampleSize) : 1;
        packet.flags = chunk.key ? AV_PKT_FLAG_KEY : 0;
        packet.stream_index = static_cast<int>(p);
        pin = p;
        return true;
    }
    return false;
}

std::size_t MoviReader::FirstChunkFor(const OutputPin& pin, std::int64_t ms) const {
    const auto& positions = index_.StreamChunks(pin.stream);
    if (positions.empty()) return index_.Chunks().size();
    const auto& chunks = index_.Chunks();
    const std::int64_t unit = pin.UnitAt(std::max<std::int64_t>(ms, 0));
    // The last chunk that starts at or before the target time.
    auto it = std::upper_bound(positions.begin(), positions.end(), unit,
                               [&](std::int64_t u, std::uint32_t at) { return u < chunks[at].start; });
    std::size_t k = it == positions.begin() ? 0 : static_cast<std::size_t>(it - positions.begin()) - 1;
    if (pin.media == PinMedia::Video)
        while (k > 0 && !chunks[positions[k]].key) --k;
    return positions[k];
}

void MoviReader::Seek(std::int64_t ms) {
    cursor_ = index_.Chunks().size();
    for (std::size_t p = 0; p < pins_.size(); ++p) {
        if (pins_[p].media == PinMedia::Text) continue;
        firstChunk_[p] = FirstChunkFor(pins_[p], ms);
        if (wanted_[p]) cursor_ = std::min(cursor_, firstChunk_[p]);
    }
}

}  // namespace kx
