#include "app/avi/AviWriter.h"

#include <cerrno>
#include <cstring>
#include <limits>

namespace kx {

namespace {
// The main header sits at 32 in the file: total frames at 48.
constexpr std::uint64_t kTotalFramesOffset = 48;
constexpr std::uint64_t kStreamLengthInHeader = 32;  // offset of dwLength inside "strh" data
}  // namespace

AviWriter::~AviWriter() { Abandon(); }

bool AviWriter::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool AviWriter::Write(const void* data, std::size_t size) {
    if (!file_) return Fail("file is not open");
    if (size && std::fwrite(data, 1, size, file_) != size) return Fail(std::strerror(errno));
    written_ += size;
    return true;
}

bool AviWriter::WriteLE32Field(std::uint32_t v) {
    std::uint8_t b[4];
    WriteLE32(b, v);
    return Write(b, 4);
}

bool AviWriter::PatchLE32(std::uint64_t at, std::uint32_t v) {
    std::uint8_t b[4];
    WriteLE32(b, v);
    if (std::fseek(file_, static_cast<long>(at), SEEK_SET) != 0 || std::fwrite(b, 1, 4, file_) != 4)
        return Fail(std::strerror(errno));
    return true;
}

bool AviWriter::Open(const std::string& path, AviMainHeader main, std::vector<AviStreamSpec> streams) {
    Abandon();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return Fail(path + ": " + std::strerror(errno));
    written_ = 0;
    index_.clear();
    streams_ = std::move(streams);
    main_ = main;
    main_.streams = static_cast<std::uint32_t>(streams_.size());
    chunkCounts_.assign(streams_.size(), 0);
    lengthOffsets_.clear();

    std::vector<std::vector<std::uint8_t>> lists;
    std::uint32_t hdrlSize = 4 + 8 + kAviMainHeaderSize;
    for (const AviStreamSpec& s : streams_) {
        AviStreamHeader h = s.header;
        h.length = 0;
        const auto strh = SerializeStreamHeader(h);
        const std::uint32_t strfSize = static_cast<std::uint32_t>(s.format.size());
        std::vector<std::uint8_t> list(12 + 8 + strh.size() + 8 + PaddedSize(strfSize));
        std::uint8_t* p = list.data();
        WriteLE32(p, kFccList);
        WriteLE32(p + 4, static_cast<std::uint32_t>(list.size() - 8));
        WriteLE32(p + 8, kFccStrl);
        WriteLE32(p + 12, kFccStrh);
        WriteLE32(p + 16, static_cast<std::uint32_t>(strh.size()));
        std::memcpy(p + 20, strh.data(), strh.size());
        p += 20 + strh.size();
        WriteLE32(p, kFccStrf);
        WriteLE32(p + 4, strfSize);
        if (strfSize) std::memcpy(p + 8, s.format.data(), strfSize);
        hdrlSize += static_cast<std::uint32_t>(list.size());
        lists.push_back(std::move(list));
    }

    main_.totalFrames = 0;
    const auto avih = SerializeMainHeader(main_);
    bool ok = WriteLE32Field(kFccRiff) && WriteLE32Field(0) && WriteLE32Field(kFccAvi) &&
              WriteLE32Field(kFccList) && WriteLE32Field(hdrlSize) && WriteLE32Field(kFccHdrl) &&
              WriteLE32Field(kFccAvih) && WriteLE32Field(kAviMainHeaderSize) && Write(avih.data(), avih.size());
    for (const auto& list : lists) {
        lengthOffsets_.push_back(written_ + 20 + kStreamLengthInHeader);
        ok = ok && Write(list.data(), list.size());
    }
    ok = ok && WriteLE32Field(kFccList) && WriteLE32Field(0);
    moviFourccOffset_ = written_;
    ok = ok && WriteLE32Field(kFccMovi);
    if (!ok) Abandon();
    return ok;
}

bool AviWriter::WriteChunk(int stream, std::span<const std::uint8_t> data, bool keyFrame) {
    if (!file_) return Fail("file is not open");
    if (stream < 0 || static_cast<std::size_t>(stream) >= streams_.size()) return Fail("no such stream");
    if (data.size() > std::numeric_limits<std::uint32_t>::max() - 8) return Fail("chunk too large");
    const FourCC id = StreamChunkId(stream, streams_[static_cast<std::size_t>(stream)].chunkType);
    const auto size = static_cast<std::uint32_t>(data.size());
    const std::uint64_t offset = written_ - moviFourccOffset_;
    if (offset > std::numeric_limits<std::uint32_t>::max()) return Fail("recording too large for AVI");
    static constexpr std::uint8_t pad = 0;
    if (!WriteLE32Field(id) || !WriteLE32Field(size) || !Write(data.data(), data.size()) ||
        ((size & 1) && !Write(&pad, 1)))
        return false;
    index_.push_back({id, keyFrame ? kIndexKeyFrame : 0u, static_cast<std::uint32_t>(offset), size});
    // A stream with a fixed sample size (PCM) counts its length in samples, others in chunks.
    const std::uint32_t sampleSize = streams_[static_cast<std::size_t>(stream)].header.sampleSize;
    chunkCounts_[static_cast<std::size_t>(stream)] += sampleSize ? size / sampleSize : 1;
    return true;
}

bool AviWriter::Finish() {
    if (!file_) return Fail("file is not open");
    const std::uint64_t moviEnd = written_;
    const auto indexBytes = static_cast<std::uint32_t>(index_.size() * kIndexEntrySize);
    bool ok = WriteLE32Field(kFccIdx1) && WriteLE32Field(indexBytes);
    for (const IndexEntry& e : index_) {
        ok = ok && WriteLE32Field(e.id) && WriteLE32Field(e.flags) && WriteLE32Field(e.offset) &&
             WriteLE32Field(e.size);
    }
    if (written_ - 8 > std::numeric_limits<std::uint32_t>::max()) ok = Fail("recording too large for AVI");
    ok = ok && PatchLE32(4, static_cast<std::uint32_t>(written_ - 8));
    ok = ok && PatchLE32(moviFourccOffset_ - 4, static_cast<std::uint32_t>(moviEnd - moviFourccOffset_));
    std::uint32_t videoFrames = 0;
    for (std::size_t i = 0; i < streams_.size(); ++i) {
        if (i == 0) videoFrames = chunkCounts_[i];
        ok = ok && PatchLE32(lengthOffsets_[i], chunkCounts_[i]);
    }
    ok = ok && PatchLE32(kTotalFramesOffset, videoFrames);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok && (closed || Fail(std::strerror(errno)));
}

void AviWriter::Abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace kx
