#pragma once
// Hands out a recording's telemetry packets (its "txts" stream) one by one, in stream order,
// each with its time: the presentation time of the last stream-00 video frame before the
// packet in the movi list (0 when none precedes it). With an index the packets are found
// through it, reading only the text chunks; a file without a usable index is walked chunk by
// chunk up to the first damaged or cut chunk.

#include "app/avi/AviReader.h"

#include <cstdint>
#include <vector>

namespace kx {

inline constexpr int kTextPacketOk = 0;
inline constexpr int kTextPacketEnd = 38;

class TextPacketReader {
public:
    TextPacketReader(const ByteSource& source, AviFileInfo info);

    // Copies the next packet into `buffer` (at most `length` bytes; `length` becomes the
    // number copied) and its time into `time`. kTextPacketOk, or kTextPacketEnd when there are
    // no more packets.
    int Next(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time);

    bool UsesIndex() const { return mode_ == Mode::Index; }

private:
    enum class Mode { Index, Walk, Done };
    struct Entry {
        FourCC id;
        std::uint64_t chunkOffset;  // file offset of the chunk header
        std::uint32_t size;         // data size as the index or the chunk header gives it
    };

    void ChooseIndexBase();
    bool NextIndexEntry(Entry& entry);
    bool NextWalkEntry(Entry& entry);
    bool IsVideoFrame(FourCC id) const;
    bool IsTextPacket(FourCC id) const;

    const ByteSource& source_;
    AviFileInfo info_;
    int textStream_;
    Mode mode_ = Mode::Walk;
    std::uint64_t videoFrames_ = 0;  // stream-00 frames seen so far

    // Index mode: entries are read in blocks.
    std::uint64_t indexBase_ = 0;
    std::uint32_t nextEntry_ = 0;
    std::vector<std::uint8_t> block_;
    std::uint32_t blockFirst_ = 0;
    // Walk mode.
    std::uint64_t walkAt_ = 0;
    // A chunk header and its data, read together.
    std::vector<std::uint8_t> chunk_;
};

}  // namespace kx
