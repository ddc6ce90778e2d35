#pragma once
// The parse stage ("KXStreamParseFilter"): the graph's source. It loads a recording from disk
// or, after SetSource, from a camera card, shows its streams as output pins, demultiplexes the
// video and sound chunks for the decoders, and hands out the telemetry packets one by one
// through NextTextPacket.

#include "app/avi/AviReader.h"
#include "app/avi/TextPacketReader.h"
#include "playback/MediaResult.h"
#include "playback/MoviIndex.h"
#include "playback/MoviReader.h"
#include "playback/OutputPin.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kx {

class StreamParseFilter {
public:
    StreamParseFilter() = default;
    StreamParseFilter(const StreamParseFilter&) = delete;
    StreamParseFilter& operator=(const StreamParseFilter&) = delete;

    // A byte the opener hands over before loading; kept, with no effect on parsing.
    void SetOption(std::uint8_t option) { option_ = option; }
    std::uint8_t Option() const { return option_; }

    // Where Load reads from: (0, -1) the file named by the path, anything else the card file
    // (card device, file identifier) through the card layer's opener.
    HResult SetSource(std::uintptr_t context, std::int32_t locator);

    // kSOk; kEFileNotFound when the bytes cannot be opened; kVfwInvalidFileFormat when they are
    // not a readable recording; kEFail when called twice.
    HResult Load(const std::string& path);

    const std::vector<OutputPin>& Pins() const { return pins_; }

    // Copies the next telemetry packet into `buffer` (at most `length` bytes; `length` becomes
    // the number copied) and its time in milliseconds into `time`: kTextPacketDelivered, or
    // kNoMoreTextPackets at the end. Safe to call while the graph plays.
    HResult NextTextPacket(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time);

    // After a successful Load: the chunk reader the graph's reader thread drives.
    MoviReader& Demux() { return *demux_; }
    const AviFileInfo& FileInfo() const { return info_; }
    const MoviIndex& Index() const { return index_; }

    // Length of the longest video pin, in 100-ns units.
    std::int64_t VideoDuration() const;

private:
    void MakePins();

    std::uint8_t option_ = 0;
    std::uintptr_t context_ = 0;
    std::int32_t locator_ = -1;
    std::unique_ptr<ByteSource> source_;
    AviFileInfo info_;
    MoviIndex index_;
    std::vector<OutputPin> pins_;
    std::unique_ptr<MoviReader> demux_;
    std::mutex textMutex_;
    std::unique_ptr<TextPacketReader> text_;
};

}  // namespace kx
