#include "app/avi/AviReader.h"

#include <algorithm>

namespace kx {

namespace {

constexpr int kMaxTopLevelChunks = 4096;
constexpr int kMaxHeaderChunks = 4096;

struct ChunkHeader {
    FourCC id = 0;
    std::uint32_t size = 0;
    FourCC listType = 0;  // for "LIST" chunks
};

std::optional<ChunkHeader> ReadChunkHeader(const ByteSource& src, std::uint64_t at, std::uint64_t end) {
    std::uint8_t b[12];
    if (at + 8 > end || !src.ReadExact(at, b, 8)) return std::nullopt;
    ChunkHeader h{ReadLE32(b), ReadLE32(b + 4), 0};
    if (h.id == kFccList) {
        if (at + 12 > end || !src.ReadExact(at + 8, b + 8, 4)) return std::nullopt;
        h.listType = ReadLE32(b + 8);
    }
    return h;
}

std::vector<std::uint8_t> ReadBlock(const ByteSource& src, std::uint64_t at, std::uint64_t end,
                                    std::uint32_t size, std::size_t cap) {
    const std::uint64_t available = at < end ? end - at : 0;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min<std::uint64_t>({size, cap, available})));
    data.resize(src.ReadAt(at, data.data(), data.size()));
    return data;
}

bool ReadStreamList(const ByteSource& src, std::uint64_t at, std::uint64_t end, AviStreamInfo& stream) {
    bool haveHeader = false;
    for (int i = 0; i < kMaxHeaderChunks; ++i) {
        const auto h = ReadChunkHeader(src, at, end);
        if (!h) break;
        if (h->id == kFccStrh) {
            const auto data = ReadBlock(src, at + 8, end, h->size, kAviStreamHeaderSize);
            stream.header = ParseStreamHeader(data.data(), data.size());
            haveHeader = true;
        } else if (h->id == kFccStrf) {
            stream.format = ReadBlock(src, at + 8, end, h->size, kMaxStreamFormatBytes);
        }
        at += 8 + PaddedSize(h->size);
    }
    return haveHeader;
}

bool ReadHeaderList(const ByteSource& src, std::uint64_t at, std::uint64_t end, AviFileInfo& info,
                    std::string& error) {
    bool haveMain = false;
    for (int i = 0; i < kMaxHeaderChunks; ++i) {
        const auto h = ReadChunkHeader(src, at, end);
        if (!h) break;
        const std::uint64_t next = at + 8 + PaddedSize(h->size);
        if (h->id == kFccAvih) {
            const auto data = ReadBlock(src, at + 8, end, h->size, kAviMainHeaderSize);
            info.main = ParseMainHeader(data.data(), data.size());
            haveMain = true;
        } else if (h->id == kFccList && h->listType == kFccStrl) {
            if (info.streams.size() == kMaxStreams) {
                error = "too many streams";
                return false;
            }
            AviStreamInfo stream;
            if (ReadStreamList(src, at + 12, std::min(next, end), stream)) info.streams.push_back(std::move(stream));
        }
        at = next;
    }
    if (!haveMain) error = "no main header";
    else if (info.streams.empty()) error = "no stream headers";
    return haveMain && !info.streams.empty();
}

}  // namespace

int AviFileInfo::TextStream() const {
    for (std::size_t i = 0; i < streams.size(); ++i)
        if (streams[i].header.type == kFccTxts) return static_cast<int>(i);
    return -1;
}

int AviFileInfo::VideoStreams() const {
    return static_cast<int>(std::count_if(streams.begin(), streams.end(),
                                          [](const AviStreamInfo& s) { return s.header.type == kFccVids; }));
}

std::uint32_t AviFileInfo::VideoFrameTimeMs(std::uint64_t k) const {
    if (streams.empty() || streams[0].header.rate == 0) return 0;
    const std::uint64_t ms = k * 1000 * streams[0].header.scale / streams[0].header.rate;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, UINT32_MAX));
}

std::optional<AviFileInfo> ReadAviFile(const ByteSource& src, std::string& error) {
    AviFileInfo info;
    info.fileSize = src.Size();
    std::uint8_t head[12];
    if (!src.ReadExact(0, head, 12) || ReadLE32(head) != kFccRiff || ReadLE32(head + 8) != kFccAvi) {
        error = "not an AVI file";
        return std::nullopt;
    }
    info.riffSize = ReadLE32(head + 4);
    const std::uint64_t end = info.fileSize;

    bool haveHeaders = false;
    std::uint64_t at = 12;
    for (int i = 0; i < kMaxTopLevelChunks; ++i) {
        const auto h = ReadChunkHeader(src, at, end);
        if (!h) break;
        const std::uint64_t next = at + 8 + PaddedSize(h->size);
        if (h->id == kFccList && h->listType == kFccHdrl && !haveHeaders) {
            info.headerListSize = h->size;
            if (!ReadHeaderList(src, at + 12, std::min(next, end), info, error)) return std::nullopt;
            haveHeaders = true;
        } else if (h->id == kFccList && h->listType == kFccMovi && info.moviFourccOffset == 0) {
            info.moviListOffset = at;
            info.moviFourccOffset = at + 8;
            // A recording cut off by power loss has a movi size of 0: its chunks run to the end.
            info.moviEnd = h->size == 0 ? end : std::min(next, end);
            if (h->size == 0) break;
        } else if (h->id == kFccIdx1 && info.moviFourccOffset != 0 && !info.indexOffset) {
            info.indexOffset = at + 8;
            const std::uint64_t available = end - std::min(end, at + 8);
            info.indexEntries = static_cast<std::uint32_t>(std::min<std::uint64_t>(h->size, available) / kIndexEntrySize);
        }
        at = next;
    }
    if (!haveHeaders) {
        if (error.empty()) error = "no header list";
        return std::nullopt;
    }
    if (info.moviFourccOffset == 0) {
        error = "no movi list";
        return std::nullopt;
    }
    return info;
}

}  // namespace kx
