#pragma once
// Where every video and sound chunk of a recording lies, in file order, with its time and
// whether a video chunk is a key frame. Built from idx1 when the file has a usable one, else by
// walking the movi list up to the first damaged or cut chunk, as a camera that lost power
// leaves it. Text chunks are left out: the telemetry reader finds those itself.

#include "app/avi/AviReader.h"

#include <cstdint>
#include <vector>

namespace kx {

struct MoviChunk {
    std::uint64_t offset = 0;  // of the chunk header
    std::uint32_t size = 0;    // data bytes
    std::uint16_t stream = 0;
    bool key = false;
    std::int64_t start = 0;    // in the stream's time units: frame number, or sound block
};

class MoviIndex {
public:
    static MoviIndex Build(const ByteSource& source, const AviFileInfo& info);

    const std::vector<MoviChunk>& Chunks() const { return chunks_; }
    // Positions in Chunks() of one stream's chunks, in order.
    const std::vector<std::uint32_t>& StreamChunks(int stream) const;
    // Time units the stream's chunks cover.
    std::int64_t StreamLength(int stream) const;
    bool FromIdx1() const { return fromIdx1_; }

private:
    void Add(const AviFileInfo& info, int stream, std::uint64_t offset, std::uint32_t size, bool key);
    bool ReadIdx1(const ByteSource& source, const AviFileInfo& info);
    void Walk(const ByteSource& source, const AviFileInfo& info);
    void Clear(std::size_t streams);
    void MarkFirstKeyFrames(const AviFileInfo& info);

    std::vector<MoviChunk> chunks_;
    std::vector<std::vector<std::uint32_t>> byStream_;
    std::vector<std::int64_t> length_;
    bool fromIdx1_ = false;
};

// Whether the start of an H.264 Annex B chunk shows a key frame: an IDR slice or a sequence
// parameter set before the first other slice.
bool StartsWithKeyFrame(const std::uint8_t* data, std::size_t size);

}  // namespace kx
