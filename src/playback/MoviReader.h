#pragma once
// The demultiplexer of the parse stage: hands out the chunks of the wanted video and sound
// pins in file order, each as a packet stamped with its time, read straight from the
// recording's bytes. A seek places it so that every wanted stream delivers from the chunk that
// holds the target on, video streams from the key frame at or before it.

#include "app/avi/ByteSource.h"
#include "playback/FfmpegPtr.h"
#include "playback/MoviIndex.h"
#include "playback/OutputPin.h"

#include <cstdint>
#include <vector>

namespace kx {

class MoviReader {
public:
    MoviReader(const ByteSource& source, const MoviIndex& index, const std::vector<OutputPin>& pins);

    // Chunks of pins not wanted are skipped. All pins start unwanted.
    void SetWanted(std::size_t pin, bool wanted);

    // The next chunk of a wanted pin: `packet` gets its bytes, its time in the pin's units as
    // pts and dts, its length in those units and the key flag. False at the end.
    bool Next(std::size_t& pin, AVPacket& packet);

    // See above; `ms` beyond the end gives the last frame of each video pin.
    void Seek(std::int64_t ms);

private:
    // Position in the chunk list from which the pin's chunks are delivered after a seek.
    std::size_t FirstChunkFor(const OutputPin& pin, std::int64_t ms) const;

    const ByteSource& source_;
    const MoviIndex& index_;
    const std::vector<OutputPin>& pins_;
    std::vector<int> pinOfStream_;  // -1 for streams without a video or sound pin
    std::vector<bool> wanted_;
    std::vector<std::size_t> firstChunk_;  // per pin
    std::size_t cursor_ = 0;
};

}  // namespace kx
