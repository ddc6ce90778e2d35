#include "app/avi/RecordingRebuild.h"

#include "app/avi/AviReader.h"
#include "app/avi/SilentAudio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>

namespace kx {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;
constexpr int kMaxHeaderChunks = 4096;
constexpr int kMaxTopLevelChunks = 4096;
constexpr std::uint64_t kMaxRiffBytes = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kTenthOfASecond = 1000;  // in the 0.1 ms units of the frame time
constexpr int kNalIdr = 5;
constexpr int kNalSps = 7;

bool Fail(RebuildJob& job, std::string why) {
    if (job.error.empty()) job.error = std::move(why);
    return false;
}

bool IsMoviChunkType(FourCC id) {
    return ChunkTypeIs(id, "dc") || ChunkTypeIs(id, "tx") || ChunkTypeIs(id, "wb");
}

bool ValidChunkHeaderAt(const MappedFile& r, std::uint64_t at, std::uint64_t limit) {
    std::uint8_t h[8];
    return at + 8 <= limit && r.ReadAt(at, h, 8) == 8 && IsMoviChunkType(ReadLE32(h));
}

struct Chunk {
    FourCC id = 0;
    std::uint32_t size = 0;
    std::uint64_t at = 0;    // chunk header
    std::uint64_t next = 0;  // the chunk after it
};

// The intact chunk at `at`, or nothing when it is damaged or cut short.
std::optional<Chunk> ChunkAt(const MappedFile& r, std::uint64_t at, std::uint64_t limit) {
    std::uint8_t h[8];
    if (at + 8 > limit || r.ReadAt(at, h, 8) != 8) return std::nullopt;
    Chunk c{ReadLE32(h), ReadLE32(h + 4), at, 0};
    if (!IsMoviChunkType(c.id)) return std::nullopt;
    const std::uint64_t dataEnd = at + 8 + c.size;
    if (dataEnd > limit) return std::nullopt;
    c.next = dataEnd + (c.size & 1);
    if (c.size & 1) {
        // An odd chunk whose data are all there is intact even without its pad byte: at the
        // very end of a cut recording, or from a writer that leaves pad bytes out.
        if (c.next > limit) c.next = dataEnd;
        else if (!ValidChunkHeaderAt(r, c.next, limit) && ValidChunkHeaderAt(r, dataEnd, limit)) c.next = dataEnd;
    }
    return c;
}

struct MoviList {
    std::uint64_t offset = 0;  // "LIST"
    std::uint32_t size = 0;
};

// The movi list is found by walking the top-level chunks: it normally comes first, but a
// writer may put other chunks (JUNK) before it.
std::optional<MoviList> FindMoviList(const MappedFile& r) {
    std::uint64_t at = 0;
    for (int i = 0; i < kMaxTopLevelChunks; ++i) {
        std::uint8_t h[12];
        if (r.ReadAt(at, h, 12) != 12) return std::nullopt;
        if (ReadLE32(h) == kFccList && ReadLE32(h + 8) == kFccMovi) return MoviList{at, ReadLE32(h + 4)};
        at += 8 + PaddedSize(ReadLE32(h + 4));
    }
    return std::nullopt;
}

int NalType(const std::uint8_t* data, std::size_t size) { return size > 4 ? data[4] & 0x1F : -1; }

// Copies [from, to) of the header work file to the target, with 32-bit fields replaced.
bool CopyWithPatches(RebuildJob& job, std::uint64_t from, std::uint64_t to,
                     const std::map<std::uint64_t, std::uint32_t>& patches) {
    std::vector<std::uint8_t> piece;
    for (std::uint64_t at = from; at < to;) {
        piece.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, to - at)));
        if (job.header.ReadAt(at, piece.data(), piece.size()) != piece.size()) return Fail(job, "header cut short");
        for (const auto& [offset, value] : patches) {
            std::uint8_t bytes[4];
            WriteLE32(bytes, value);
            for (std::uint64_t i = 0; i < 4; ++i)
                if (offset + i >= at && offset + i < at + piece.size()) piece[offset + i - at] = bytes[i];
        }
        if (!job.target.Write(piece.data(), piece.size())) return Fail(job, "cannot write the target");
        at += piece.size();
    }
    return true;
}

// Writes the header list with its patches, without the stream lists of dropped streams, and,
// when asked, with the silent stream list after the first stream list.
bool WriteHeader(RebuildJob& job, std::map<std::uint64_t, std::uint32_t> patches, bool insertSilence,
                 std::uint32_t silentLength, const std::vector<bool>& drop) {
    const HeaderLayout& h = job.layout;
    struct Range {
        std::uint64_t from, to;
    };
    std::vector<Range> skips;
    std::uint64_t dropped = 0;
    for (std::size_t i = 0; i < h.streams.size(); ++i) {
        if (!drop[i]) continue;
        const std::uint64_t from = std::min(h.end, h.streams[i].listOffset);
        const std::uint64_t to = std::min(h.end, from + 8 + PaddedSize(h.streams[i].listSize));
        skips.push_back({from, to});
        dropped += to - from;
    }
    patches[16] = static_cast<std::uint32_t>(h.end - 20 - dropped) + (insertSilence ? kSilentListBytes : 0);

    const HeaderLayout::Stream& first = h.streams.front();
    const std::uint64_t insertAt = std::min(h.end, first.listOffset + 8 + PaddedSize(first.listSize));
    std::uint64_t at = 0;
    bool inserted = !insertSilence;
    const auto copyTo = [&](std::uint64_t to) {
        const bool ok = to <= at || CopyWithPatches(job, at, to, patches);
        at = std::max(at, to);
        return ok;
    };
    const auto insert = [&] {
        const auto silent = SilentStreamList(silentLength);
        inserted = true;
        return copyTo(insertAt) &&
               (job.target.Write(silent.data(), silent.size()) || Fail(job, "cannot write the target"));
    };
    for (const Range& skip : skips) {
        if (!inserted && insertAt <= skip.from && !insert()) return false;
        if (!copyTo(skip.from)) return false;
        at = std::max(at, skip.to);
    }
    if (!inserted && !insert()) return false;
    return copyTo(h.end);
}

// The chunk id with another stream number.
FourCC Renumbered(FourCC id, int stream) {
    return (id & 0xFFFF0000u) | static_cast<FourCC>('0' + stream / 10 % 10) | static_cast<FourCC>('0' + stream % 10) << 8;
}

bool AddIndexEntry(RebuildJob& job, FourCC id, std::uint32_t flags, std::uint64_t offset, std::uint32_t size) {
    if (offset > kMaxRiffBytes) return Fail(job, "recording too large for AVI");
    std::uint8_t e[16];
    WriteLE32(e, id);
    WriteLE32(e + 4, flags);
    WriteLE32(e + 8, static_cast<std::uint32_t>(offset));
    WriteLE32(e + 12, size);
    ++job.indexEntries;
    return job.index.Write(e, 16) || Fail(job, "cannot write the index work file");
}

class MoviCopy {
public:
    // `numbers` gives each stream its number in the rebuilt file.
    MoviCopy(RebuildJob& job, bool addSilence, std::uint64_t frameTime, std::uint32_t silentChunks,
             std::vector<int> numbers)
        : job_(job), addSilence_(addSilence), frameTime_(frameTime), silentChunks_(silentChunks),
          numbers_(std::move(numbers)) {}

    bool Run() {
        listAt_ = job_.target.Position();
        if (!job_.target.WriteLE32(kFccList) || !job_.target.WriteLE32(0) || !job_.target.WriteLE32(kFccMovi))
            return Fail(job_, "cannot write the target");
        for (std::uint64_t at = job_.walk.chunksStart; at < job_.walk.chunksEnd;) {
            const auto chunk = ChunkAt(job_.movi, at, job_.walk.chunksEnd);
            if (!chunk) return Fail(job_, "movi work file changed during the rebuild");
            if (!CopyChunk(*chunk)) return false;
            at = chunk->next;
        }
        while (addSilence_ && silentWritten_ < silentChunks_)
            if (!WriteSilentChunk()) return false;
        return FinishList() && WriteIndex();
    }

private:
    bool CopyChunk(const Chunk& c) {
        const int stream = ChunkStream(c.id);
        const FourCC id = stream >= 0 ? Renumbered(c.id, numbers_[static_cast<std::size_t>(stream)]) : c.id;
        std::uint32_t flags = 0;
        // The data go from the mapped work file straight to the target, without a copy here.
        const std::uint8_t* data = job_.movi.Data() + c.at + 8;
        // Video key frames start with an IDR slice or a sequence parameter set; sound and text
        // chunks are all key chunks.
        const int nal = NalType(data, c.size);
        if (!ChunkTypeIs(c.id, "dc") || nal == kNalIdr || nal == kNalSps) flags = kIndexKeyFrame;
        if (!job_.target.WriteLE32(id) || !job_.target.WriteLE32(c.size) || !job_.target.WriteRef(data, c.size))
            return Fail(job_, "cannot write the target");
        static constexpr std::uint8_t pad = 0;
        if ((c.size & 1) && !job_.target.Write(&pad, 1)) return Fail(job_, "cannot write the target");
        if (!AddIndexEntry(job_, id, flags, offset_, c.size)) return false;
        offset_ += 8 + PaddedSize(c.size);

        if (stream == 0 && ChunkTypeIs(c.id, "dc")) timeAccumulator_ += frameTime_;
        if (addSilence_ && silentWritten_ < silentChunks_ && timeAccumulator_ >= kTenthOfASecond) {
            timeAccumulator_ -= kTenthOfASecond;
            return WriteSilentChunk();
        }
        return true;
    }

    bool WriteSilentChunk() {
        static const std::array<std::uint8_t, kSilentChunkDataBytes> silence{};
        const FourCC id = StreamChunkId(1, "wb");
        if (!job_.target.WriteLE32(id) || !job_.target.WriteLE32(kSilentChunkDataBytes) ||
            !job_.target.WriteRef(silence.data(), silence.size()))
            return Fail(job_, "cannot write the target");
        if (!AddIndexEntry(job_, id, 0, offset_, kSilentChunkDataBytes)) return false;
        offset_ += kSilentChunkBytes;
        ++silentWritten_;
        return true;
    }

    bool FinishList() {
        const std::uint64_t size = job_.target.Position() - (listAt_ + 8);
        if (size > kMaxRiffBytes) return Fail(job_, "recording too large for AVI");
        return job_.target.PatchLE32(listAt_ + 4, static_cast<std::uint32_t>(size)) || Fail(job_, "cannot write the target");
    }

    bool WriteIndex() {
        if (!job_.index.Close()) return Fail(job_, "cannot write the index work file");
        const std::uint64_t bytes = std::uint64_t{job_.indexEntries} * kIndexEntrySize;
        if (job_.target.Position() + 8 + bytes - 8 > kMaxRiffBytes) return Fail(job_, "recording too large for AVI");
        if (!job_.target.WriteLE32(kFccIdx1) || !job_.target.WriteLE32(static_cast<std::uint32_t>(bytes)))
            return Fail(job_, "cannot write the target");
        BufferedReader entries;
        if (!entries.Open(job_.indexPath)) return Fail(job_, "cannot read the index work file");
        for (std::uint64_t left = bytes; left > 0;) {
            buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceBytes)));
            if (!entries.ReadExact(buffer_.data(), buffer_.size())) return Fail(job_, "index work file cut short");
            if (!job_.target.Write(buffer_.data(), buffer_.size())) return Fail(job_, "cannot write the target");
            left -= buffer_.size();
        }
        return true;
    }

    RebuildJob& job_;
    bool addSilence_;
    std::uint64_t frameTime_;
    std::uint32_t silentChunks_;
    std::uint32_t silentWritten_ = 0;
    std::uint64_t timeAccumulator_ = 0;
    std::uint64_t offset_ = 4;  // index offsets count from the "movi" identifier
    std::uint64_t listAt_ = 0;
    std::vector<int> numbers_;
    std::vector<std::uint8_t> buffer_;
};

constexpr std::size_t kStreamNumbers = 100;  // chunk ids carry two digits

// Stream numbers in the rebuilt file: with silence, the silent stream becomes 01 and the text
// stream 02; dropped streams leave no gap.
std::vector<int> StreamNumbers(bool addSilence, const std::vector<bool>& drop) {
    std::vector<int> numbers(kStreamNumbers);
    int removed = 0;
    for (std::size_t k = 0; k < kStreamNumbers; ++k) {
        numbers[k] = static_cast<int>(k) - removed + (addSilence && k >= 1 ? 1 : 0);
        if (k < drop.size() && drop[k]) ++removed;
    }
    return numbers;
}

// Silence for `frames` video frames at rate/scale: the number of 0.1 s chunks and the frame
// time in 0.1 ms.
struct SilencePlan {
    std::uint32_t chunks = 0;
    std::uint64_t frameTime = 0;
};

std::optional<SilencePlan> PlanSilence(std::uint32_t frames, const AviStreamHeader& video) {
    if (frames == 0) return SilencePlan{};
    const double seconds = static_cast<double>(frames) / (static_cast<double>(video.rate) / static_cast<double>(video.scale));
    const double frameTime = std::trunc(seconds * 10000 / frames);
    const double chunks = std::trunc(seconds * 10);
    // Silence must fit in an AVI file of at most 4 GiB.
    if (!std::isfinite(seconds) || seconds < 0 || chunks * kSilentChunkBytes > static_cast<double>(kMaxRiffBytes))
        return std::nullopt;
    return SilencePlan{static_cast<std::uint32_t>(chunks), static_cast<std::uint64_t>(frameTime)};
}

bool Finish(RebuildJob& job) {
    const std::uint64_t size = job.target.Position() - 8;
    if (size > kMaxRiffBytes) return Fail(job, "recording too large for AVI");
    if (!job.target.PatchLE32(4, static_cast<std::uint32_t>(size)) || !job.target.Close())
        return Fail(job, "cannot write the target");
    return true;
}

std::uint32_t StreamLength(const RebuildJob& job, std::size_t stream) {
    const MoviWalk& w = job.walk;
    if (stream >= w.streamChunks.size()) return 0;
    const std::uint32_t sampleSize = job.layout.streams[stream].header.sampleSize;
    return sampleSize ? static_cast<std::uint32_t>(std::min<std::uint64_t>(w.streamBytes[stream] / sampleSize, kMaxRiffBytes))
                      : w.streamChunks[stream];
}

}  // namespace

bool ReadHeaderLayout(RebuildJob& job) {
    HeaderLayout& h = job.layout;
    const BufferedReader& r = job.header;
    std::uint8_t b[24];
    if (r.ReadAt(0, b, 24) != 24 || ReadLE32(b) != kFccRiff || ReadLE32(b + 8) != kFccAvi || ReadLE32(b + 12) != kFccList ||
        ReadLE32(b + 20) != kFccHdrl)
        return Fail(job, "not an AVI recording");
    h.headerListSize = ReadLE32(b + 16);
    h.end = std::min<std::uint64_t>(20 + std::uint64_t{h.headerListSize}, r.Size());
    std::uint64_t at = 24;
    for (int i = 0; i < kMaxHeaderChunks && at + 8 <= h.end; ++i) {
        std::uint8_t c[12];
        if (r.ReadAt(at, c, 8) != 8) break;
        const FourCC id = ReadLE32(c);
        const std::uint32_t size = ReadLE32(c + 4);
        const std::uint64_t next = at + 8 + PaddedSize(size);
        if (id == kFccAvih && h.mainHeaderOffset == 0 && size >= 28 && at + 8 + 28 <= h.end) {
            h.mainHeaderOffset = at + 8;
        } else if (id == kFccList && r.ReadAt(at + 8, c + 8, 4) == 4 && ReadLE32(c + 8) == kFccStrl &&
                   h.streams.size() < kMaxStreams) {
            const std::uint64_t listEnd = std::min(next, h.end);
            for (std::uint64_t p = at + 12; p + 8 <= listEnd;) {
                std::uint8_t s[8];
                if (r.ReadAt(p, s, 8) != 8) break;
                const std::uint32_t strhSize = ReadLE32(s + 4);
                if (ReadLE32(s) == kFccStrh && strhSize >= 36 && p + 8 + 36 <= listEnd) {
                    std::uint8_t data[kAviStreamHeaderSize] = {};
                    const std::size_t got = r.ReadAt(p + 8, data, std::min<std::uint32_t>(strhSize, kAviStreamHeaderSize));
                    h.streams.push_back({at, size, p + 8, ParseStreamHeader(data, got)});
                    break;
                }
                p += 8 + PaddedSize(strhSize);
            }
        }
        at = next;
    }
    if (h.mainHeaderOffset == 0) return Fail(job, "no main header");
    if (h.streams.empty() || h.streams[0].header.type != kFccVids) return Fail(job, "no video stream header");
    return true;
}

std::uint64_t WalkMovi(RebuildJob& job) {
    MoviWalk& w = job.walk;
    w = {};
    const auto list = FindMoviList(job.movi);
    if (!list) return 0;
    w.chunksStart = list->offset + 12;
    // A cut-off recording's movi list has the size 0: its chunks run to the end of the file.
    const std::uint64_t declaredEnd = list->offset + 8 + std::uint64_t{list->size};
    const std::uint64_t limit = list->size == 0 ? job.movi.Size() : std::min(declaredEnd, job.movi.Size());
    std::uint64_t at = w.chunksStart;
    while (const auto chunk = ChunkAt(job.movi, at, limit)) {
        const int stream = ChunkStream(chunk->id);
        if (stream >= 0) {
            if (w.streamChunks.size() <= static_cast<std::size_t>(stream)) {
                w.streamChunks.resize(static_cast<std::size_t>(stream) + 1);
                w.streamBytes.resize(static_cast<std::size_t>(stream) + 1);
            }
            ++w.streamChunks[static_cast<std::size_t>(stream)];
            w.streamBytes[static_cast<std::size_t>(stream)] += chunk->size;
        }
        ++w.chunks;
        w.dataBytes += chunk->next - chunk->at;
        at = chunk->next;
    }
    w.chunksEnd = at;
    return w.dataBytes;
}

bool Repair(RebuildJob& job) {
    const HeaderLayout& h = job.layout;
    const std::uint32_t videoChunks = job.walk.streamChunks.empty() ? 0 : job.walk.streamChunks[0];
    if (videoChunks == 0) return Fail(job, "no intact video frame");
    SilencePlan silence;
    if (job.addSilence) {
        const auto plan = PlanSilence(videoChunks, h.streams[0].header);
        if (!plan) return Fail(job, "the video stream's frame rate is unreadable");
        silence = *plan;
    }

    // A further video stream without a single intact frame (the rear channel of a recording cut
    // within its first frame) is left out: players refuse a video stream they cannot decode.
    std::vector<bool> drop(h.streams.size(), false);
    std::uint32_t kept = 0;
    for (std::size_t i = 0; i < h.streams.size(); ++i) {
        drop[i] = i > 0 && h.streams[i].header.type == kFccVids && StreamLength(job, i) == 0;
        kept += drop[i] ? 0 : 1;
    }
    std::map<std::uint64_t, std::uint32_t> patches;
    patches[h.mainHeaderOffset + 16] = videoChunks;  // total frames
    for (std::size_t i = 0; i < h.streams.size(); ++i) patches[h.streams[i].headerOffset + 32] = StreamLength(job, i);
    if (job.addSilence) patches[h.mainHeaderOffset + 24] = 3;  // stream count
    else if (kept != h.streams.size()) patches[h.mainHeaderOffset + 24] = kept;
    return WriteHeader(job, std::move(patches), job.addSilence, silence.chunks * kSilentSamplesPerChunk, drop) &&
           MoviCopy(job, job.addSilence, silence.frameTime, silence.chunks, StreamNumbers(job.addSilence, drop)).Run() &&
           Finish(job);
}

bool AddSilence(RebuildJob& job, std::uint32_t /*riffSize: the sizes are counted from what is written*/) {
    const HeaderLayout& h = job.layout;
    const auto plan = PlanSilence(h.streams[0].header.length, h.streams[0].header);
    if (!plan) return Fail(job, "the video stream's frame rate is unreadable");
    if (WalkMovi(job) == 0) return Fail(job, "no intact chunk in the movi list");
    std::map<std::uint64_t, std::uint32_t> patches;
    patches[h.mainHeaderOffset + 24] = 3;  // stream count; total frames stay as they are
    const std::vector<bool> keepAll(h.streams.size(), false);
    return WriteHeader(job, std::move(patches), true, plan->chunks * kSilentSamplesPerChunk, keepAll) &&
           MoviCopy(job, true, plan->frameTime, plan->chunks, StreamNumbers(true, keepAll)).Run() && Finish(job);
}

bool RebuildRecording(const std::string& headerPath, const std::string& moviPath, const std::string& targetPath,
                      bool addSilence, std::uint32_t riffSize, std::string* error) {
    RebuildJob job;
    job.addSilence = addSilence || riffSize != 0;
    job.targetPath = targetPath;
    job.indexPath = targetPath + ".idx";
    bool ok = (job.header.Open(headerPath) || Fail(job, "cannot read the header work file")) &&
              (job.movi.Open(moviPath) || Fail(job, "cannot read the movi work file")) &&
              (job.target.Create(targetPath) || Fail(job, "cannot create " + targetPath)) &&
              (job.index.Create(job.indexPath) || Fail(job, "cannot create the index work file")) &&
              ReadHeaderLayout(job);
    if (ok && riffSize != 0) {
        ok = AddSilence(job, riffSize);
    } else if (ok) {
        ok = (WalkMovi(job) > 0 || Fail(job, "no intact chunk in the movi list")) && Repair(job);
    }
    job.index.Close();
    std::error_code ec;
    std::filesystem::remove(job.indexPath, ec);
    if (!ok) {
        job.target.Close();
        std::filesystem::remove(targetPath, ec);
        if (error) *error = job.error;
    }
    return ok;
}

}  // namespace kx
