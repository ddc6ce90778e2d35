#include "app/avi/TextPacketReader.h"

#include <algorithm>
#include <cstring>

namespace kx {

namespace {
constexpr std::uint32_t kEntriesPerBlock = 4096;
}

TextPacketReader::TextPacketReader(const ByteSource& source, AviFileInfo info)
    : source_(source), info_(std::move(info)), textStream_(info_.TextStream()) {
    walkAt_ = info_.moviFourccOffset + 4;
    if (textStream_ < 0) {
        mode_ = Mode::Done;
    } else if (info_.indexOffset && info_.indexEntries > 0) {
        ChooseIndexBase();
    }
}

// Index offsets count from the "movi" identifier; some writers use file offsets instead. The
// first entry tells which: its chunk id must stand at the offset it names.
void TextPacketReader::ChooseIndexBase() {
    std::uint8_t entry[16];
    if (!source_.ReadExact(*info_.indexOffset, entry, 16)) return;
    const FourCC id = ReadLE32(entry);
    const std::uint64_t offset = ReadLE32(entry + 8);
    for (const std::uint64_t base : {info_.moviFourccOffset, std::uint64_t{0}}) {
        std::uint8_t found[4];
        if (source_.ReadExact(base + offset, found, 4) && ReadLE32(found) == id) {
            indexBase_ = base;
            mode_ = Mode::Index;
            return;
        }
    }
}

bool TextPacketReader::IsVideoFrame(FourCC id) const {
    return ChunkStream(id) == 0 && (ChunkTypeIs(id, "dc") || ChunkTypeIs(id, "db"));
}

bool TextPacketReader::IsTextPacket(FourCC id) const {
    return ChunkStream(id) == textStream_ && ChunkTypeIs(id, "tx");
}

bool TextPacketReader::NextIndexEntry(Entry& entry) {
    if (nextEntry_ >= info_.indexEntries) return false;
    if (block_.empty() || nextEntry_ >= blockFirst_ + block_.size() / kIndexEntrySize) {
        const std::uint32_t count = std::min(kEntriesPerBlock, info_.indexEntries - nextEntry_);
        block_.resize(std::size_t{count} * kIndexEntrySize);
        const std::size_t got = source_.ReadAt(*info_.indexOffset + std::uint64_t{nextEntry_} * kIndexEntrySize,
                                               block_.data(), block_.size());
        block_.resize(got - got % kIndexEntrySize);
        blockFirst_ = nextEntry_;
        if (block_.empty()) return false;
    }
    const std::uint8_t* e = block_.data() + std::size_t{nextEntry_ - blockFirst_} * kIndexEntrySize;
    entry.id = ReadLE32(e);
    entry.chunkOffset = indexBase_ + ReadLE32(e + 8);
    entry.size = ReadLE32(e + 12);
    ++nextEntry_;
    return true;
}

bool TextPacketReader::NextWalkEntry(Entry& entry) {
    while (walkAt_ + 8 <= info_.moviEnd) {
        std::uint8_t header[12];
        if (!source_.ReadExact(walkAt_, header, 8)) return false;
        const FourCC id = ReadLE32(header);
        const std::uint32_t size = ReadLE32(header + 4);
        if (id == kFccList) {  // "rec " groups: step into them
            walkAt_ += 12;
            continue;
        }
        // The first damaged or cut chunk ends the walk.
        if (ChunkStream(id) < 0 || walkAt_ + 8 + size > info_.moviEnd) return false;
        entry = {id, walkAt_, size};
        walkAt_ += 8 + PaddedSize(size);
        return true;
    }
    return false;
}

int TextPacketReader::Next(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time) {
    Entry entry{};
    while (mode_ != Mode::Done) {
        const bool more = mode_ == Mode::Index ? NextIndexEntry(entry) : NextWalkEntry(entry);
        if (!more) break;
        if (IsVideoFrame(entry.id)) {
            ++videoFrames_;
            continue;
        }
        if (!IsTextPacket(entry.id)) continue;
        // Header and data in one read; the header must name the chunk the entry names.
        const std::uint32_t wanted = std::min(entry.size, length);
        chunk_.resize(8 + std::size_t{wanted});
        const std::size_t got = source_.ReadAt(entry.chunkOffset, chunk_.data(), chunk_.size());
        if (got < 8 || ReadLE32(chunk_.data()) != entry.id) continue;
        length = static_cast<std::uint32_t>(std::min<std::size_t>({got - 8, ReadLE32(chunk_.data() + 4), wanted}));
        std::memcpy(buffer, chunk_.data() + 8, length);
        time = info_.VideoFrameTimeMs(videoFrames_ ? videoFrames_ - 1 : 0);
        return kTextPacketOk;
    }
    mode_ = Mode::Done;
    length = 0;
    return kTextPacketEnd;
}

}  // namespace kx
