#include "playback/MoviIndex.h"

#include <algorithm>

namespace kx {

namespace {

constexpr std::uint32_t kEntriesPerBlock = 4096;
// Enough of a chunk's data to find its first NAL units after any delimiter or SEI.
constexpr std::size_t kHeadBytes = 64;
constexpr int kNalSlice = 1;
constexpr int kNalIdr = 5;
constexpr int kNalSps = 7;

enum class Kind { Other, Video, Audio };

Kind StreamKind(const AviFileInfo& info, int stream) {
    if (stream < 0 || static_cast<std::size_t>(stream) >= info.streams.size()) return Kind::Other;
    const FourCC type = info.streams[stream].header.type;
    if (type == kFccVids) return Kind::Video;
    if (type == kFccAuds) return Kind::Audio;
    return Kind::Other;
}

bool TypeFits(Kind kind, FourCC id) {
    if (kind == Kind::Video) return ChunkTypeIs(id, "dc") || ChunkTypeIs(id, "db");
    if (kind == Kind::Audio) return ChunkTypeIs(id, "wb");
    return false;
}

}  // namespace

bool StartsWithKeyFrame(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 3 < size; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1) continue;
        const int type = data[i + 3] & 0x1F;
        if (type == kNalIdr || type == kNalSps) return true;
        if (type == kNalSlice) return false;
        i += 2;
    }
    return false;
}

const std::vector<std::uint32_t>& MoviIndex::StreamChunks(int stream) const {
    static const std::vector<std::uint32_t> none;
    return stream >= 0 && static_cast<std::size_t>(stream) < byStream_.size() ? byStream_[stream] : none;
}

std::int64_t MoviIndex::StreamLength(int stream) const {
    return stream >= 0 && static_cast<std::size_t>(stream) < length_.size() ? length_[stream] : 0;
}

void MoviIndex::Clear(std::size_t streams) {
    chunks_.clear();
    byStream_.assign(streams, {});
    length_.assign(streams, 0);
}

void MoviIndex::Add(const AviFileInfo& info, int stream, std::uint64_t offset, std::uint32_t size, bool key) {
    const std::uint32_t sampleSize = info.streams[stream].header.sampleSize;
    const bool blocks = StreamKind(info, stream) == Kind::Audio && sampleSize > 0;
    MoviChunk chunk;
    chunk.offset = offset;
    chunk.size = size;
    chunk.stream = static_cast<std::uint16_t>(stream);
    chunk.key = key;
    chunk.start = length_[stream];
    length_[stream] += blocks ? size / sampleSize : 1;
    byStream_[stream].push_back(static_cast<std::uint32_t>(chunks_.size()));
    chunks_.push_back(chunk);
}

// Index offsets count from the "movi" identifier, or in some writers from the start of the
// file: the first entry's chunk id must stand where the entry says.
bool MoviIndex::ReadIdx1(const ByteSource& source, const AviFileInfo& info) {
    std::uint8_t first[16];
    if (!info.indexOffset || info.indexEntries == 0 || !source.ReadExact(*info.indexOffset, first, 16)) return false;
    std::optional<std::uint64_t> base;
    for (const std::uint64_t candidate : {info.moviFourccOffset, std::uint64_t{0}}) {
        std::uint8_t id[4];
        if (source.ReadExact(candidate + ReadLE32(first + 8), id, 4) && ReadLE32(id) == ReadLE32(first)) {
            base = candidate;
            break;
        }
    }
    if (!base) return false;

    std::vector<std::uint8_t> block;
    for (std::uint32_t done = 0; done < info.indexEntries;) {
        const std::uint32_t count = std::min(kEntriesPerBlock, info.indexEntries - done);
        block.resize(std::size_t{count} * kIndexEntrySize);
        const std::size_t got =
            source.ReadAt(*info.indexOffset + std::uint64_t{done} * kIndexEntrySize, block.data(), block.size());
        const std::size_t entries = got / kIndexEntrySize;
        for (std::size_t e = 0; e < entries; ++e) {
            const std::uint8_t* entry = block.data() + e * kIndexEntrySize;
            const FourCC id = ReadLE32(entry);
            const int stream = ChunkStream(id);
            const Kind kind = StreamKind(info, stream);
            const std::uint64_t offset = *base + ReadLE32(entry + 8);
            const std::uint32_t size = ReadLE32(entry + 12);
            if (!TypeFits(kind, id) || offset + 8 + size > info.fileSize) continue;
            const bool key = kind != Kind::Video || (ReadLE32(entry + 4) & kIndexKeyFrame) != 0;
            Add(info, stream, offset, size, key);
        }
        if (entries < count) break;
        done += count;
    }
    return true;
}

void MoviIndex::Walk(const ByteSource& source, const AviFileInfo& info) {
    std::uint64_t at = info.moviFourccOffset + 4;
    std::uint8_t head[8 + kHeadBytes];
    while (at + 8 <= info.moviEnd) {
        const std::size_t got = source.ReadAt(at, head, sizeof head);
        if (got < 8) return;
        const FourCC id = ReadLE32(head);
        const std::uint32_t size = ReadLE32(head + 4);
        if (id == kFccList) {  // "rec " groups: step into them
            at += 12;
            continue;
        }
        if (ChunkStream(id) < 0 || at + 8 + size > info.moviEnd) return;
        const int stream = ChunkStream(id);
        const Kind kind = StreamKind(info, stream);
        if (TypeFits(kind, id)) {
            const bool key = kind != Kind::Video || StartsWithKeyFrame(head + 8, std::min<std::size_t>(size, got - 8));
            Add(info, stream, at, size, key);
        }
        at += 8 + PaddedSize(size);
    }
}

// A stream without any chunk marked as a key frame is decoded from its first chunk on.
void MoviIndex::MarkFirstKeyFrames(const AviFileInfo& info) {
    for (std::size_t s = 0; s < byStream_.size(); ++s) {
        if (StreamKind(info, static_cast<int>(s)) != Kind::Video || byStream_[s].empty()) continue;
        const bool anyKey = std::any_of(byStream_[s].begin(), byStream_[s].end(),
                                        [&](std::uint32_t at) { return chunks_[at].key; });
        if (!anyKey) chunks_[byStream_[s].front()].key = true;
    }
}

MoviIndex MoviIndex::Build(const ByteSource& source, const AviFileInfo& info) {
    MoviIndex index;
    index.Clear(info.streams.size());
    index.fromIdx1_ = index.ReadIdx1(source, info) && !index.chunks_.empty();
    if (!index.fromIdx1_) {
        index.Clear(info.streams.size());
        index.Walk(source, info);
    }
    index.MarkFirstKeyFrames(info);
    return index;
}

}  // namespace kx
