#pragma once
// Reads the structure of an AVI recording: the main header, the stream lists, where the movi
// list and the index lie. Every size read from the file is checked against the file, so a
// damaged or hostile file gives an error, never a read outside it or an unbounded allocation.

#include "app/avi/AviFormat.h"
#include "app/avi/ByteSource.h"

#include <optional>
#include <string>
#include <vector>

namespace kx {

struct AviStreamInfo {
    AviStreamHeader header;
    std::vector<std::uint8_t> format;  // "strf" data (at most kMaxStreamFormatBytes)
};

struct AviFileInfo {
    std::uint64_t fileSize = 0;
    std::uint32_t riffSize = 0;           // 0 in a recording cut off by power loss
    std::uint32_t headerListSize = 0;     // size field of LIST hdrl
    AviMainHeader main;
    std::vector<AviStreamInfo> streams;
    std::uint64_t moviListOffset = 0;     // the "LIST" of the movi list
    std::uint64_t moviFourccOffset = 0;   // the "movi" identifier; index offsets count from it
    std::uint64_t moviEnd = 0;            // end of the movi data within the file
    std::optional<std::uint64_t> indexOffset;  // first idx1 entry
    std::uint32_t indexEntries = 0;

    bool Unfinished() const { return riffSize == 0; }
    // The stream whose header type is "txts", or -1.
    int TextStream() const;
    // Number of video streams ("vids").
    int VideoStreams() const;
    // Milliseconds of stream-00 frame k: k x 1000 x scale / rate.
    std::uint32_t VideoFrameTimeMs(std::uint64_t k) const;
};

inline constexpr std::size_t kMaxStreamFormatBytes = 1 << 16;
inline constexpr std::size_t kMaxStreams = 64;

// Reads the headers of the AVI file in `source`. nullopt with `error` set when the file is
// not a readable AVI recording.
std::optional<AviFileInfo> ReadAviFile(const ByteSource& source, std::string& error);

}  // namespace kx
