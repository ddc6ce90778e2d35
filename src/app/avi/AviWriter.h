#pragma once
// Writes an AVI file the way the camera does: the RIFF header and header list first, with
// the RIFF size, frame counts and stream lengths left 0; then the movi list chunk by chunk;
// Finish() appends idx1 and patches the sizes and counts. A file that is never finished has
// exactly the shape a camera leaves behind when it loses power.

#include "app/avi/AviFormat.h"

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace kx {

struct AviStreamSpec {
    AviStreamHeader header;             // type, handler, scale, rate, ...; length is counted
    std::vector<std::uint8_t> format;   // the "strf" data
    char chunkType[2] = {'d', 'c'};     // "dc", "wb" or "tx"
};

class AviWriter {
public:
    AviWriter() = default;
    ~AviWriter();
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    // Creates the file and writes the headers. `main.streams` is set from `streams`.
    bool Open(const std::string& path, AviMainHeader main, std::vector<AviStreamSpec> streams);
    // Appends one chunk of stream `stream` to the movi list.
    bool WriteChunk(int stream, std::span<const std::uint8_t> data, bool keyFrame);
    // Writes idx1 and patches RIFF size, movi size, total frames and stream lengths.
    bool Finish();
    // Closes the file as it stands (no index, sizes 0).
    void Abandon();

    std::uint64_t BytesWritten() const { return written_; }
    const std::string& LastError() const { return error_; }

private:
    struct IndexEntry {
        FourCC id;
        std::uint32_t flags;
        std::uint32_t offset;
        std::uint32_t size;
    };
    bool Write(const void* data, std::size_t size);
    bool WriteLE32Field(std::uint32_t v);
    bool PatchLE32(std::uint64_t at, std::uint32_t v);
    bool Fail(std::string message);

    std::FILE* file_ = nullptr;
    std::string error_;
    AviMainHeader main_;
    std::vector<AviStreamSpec> streams_;
    std::vector<std::uint64_t> lengthOffsets_;  // file offset of each stream's length field
    std::vector<std::uint32_t> chunkCounts_;  // each stream's length: chunks, or samples
    std::vector<IndexEntry> index_;
    std::uint64_t written_ = 0;
    std::uint64_t moviFourccOffset_ = 0;
};

}  // namespace kx
