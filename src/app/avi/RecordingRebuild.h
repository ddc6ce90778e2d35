#pragma once
// Rebuilding a card recording that cannot be played as it is, from two work files: the header
// work file (the RIFF header and the whole header list) and the movi work file (everything
// after it).
//
// - A recording cut off by power loss (RIFF size 0) is repaired: its intact chunks are kept,
//   the frame counts, stream lengths, sizes and the index are rebuilt. The first damaged or
//   cut chunk ends it.
// - A recording of the two-stream shape (video and text, no sound) gets a silent sound stream
//   as stream 01, its text stream renumbered 02, with one 0.1 s silent chunk for each 100 ms of
//   video. A cut-off recording of that shape gets the silence during its repair.
//
// Everything streams through fixed buffers, whatever the sizes of the header list, the chunks
// and the index.

#include "app/avi/AviFormat.h"
#include "app/avi/BufferedFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx {

// Where the fields that a rebuild patches lie in the header work file.
struct HeaderLayout {
    struct Stream {
        std::uint64_t listOffset = 0;  // "LIST" of the stream list
        std::uint32_t listSize = 0;
        std::uint64_t headerOffset = 0;  // "strh" data
        AviStreamHeader header;
    };
    std::uint32_t headerListSize = 0;  // S
    std::uint64_t end = 0;             // 20 + S, within the file
    std::uint64_t mainHeaderOffset = 0;  // "avih" data
    std::vector<Stream> streams;
};

// What a walk of the movi list found: the intact chunks, up to the first damaged or cut one.
struct MoviWalk {
    std::uint64_t chunksStart = 0;  // first chunk header in the movi work file
    std::uint64_t chunksEnd = 0;    // where the walk stopped
    std::uint64_t dataBytes = 0;    // D: bytes of intact chunks (headers, data, pads)
    std::uint32_t chunks = 0;
    std::vector<std::uint32_t> streamChunks;  // per stream number
    std::vector<std::uint64_t> streamBytes;
};

// The state of one rebuild.
struct RebuildJob {
    BufferedReader header;
    MappedFile movi;
    BufferedWriter target;
    BufferedWriter index;  // entries are streamed to a work file beside the target
    std::string targetPath;
    std::string indexPath;
    bool addSilence = false;
    HeaderLayout layout;
    MoviWalk walk;
    std::uint32_t indexEntries = 0;
    std::string error;
};

// Opens the three files and rebuilds: silence only when `riffSize` is not 0, a repair
// otherwise. False when the target could not be made; the partial target is removed and
// `error` (if given) says why.
bool RebuildRecording(const std::string& headerPath, const std::string& moviPath, const std::string& targetPath,
                      bool addSilence, std::uint32_t riffSize, std::string* error = nullptr);

// Walks the movi list of job.movi into job.walk; returns D, the bytes of intact chunks (0 for
// none).
std::uint64_t WalkMovi(RebuildJob& job);

// Writes the repaired recording (after WalkMovi).
bool Repair(RebuildJob& job);

// Writes a complete two-stream recording with a silent stream added; `riffSize` is the
// recording's RIFF size.
bool AddSilence(RebuildJob& job, std::uint32_t riffSize);

// Reads the header list of job.header into job.layout.
bool ReadHeaderLayout(RebuildJob& job);

}  // namespace kx
