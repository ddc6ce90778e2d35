// Rebuilding recordings that cannot play as they are: the layout of the rebuilt file, the
// silence plan, the index, and every way a damaged or hostile recording must fail cleanly.

#include "app/avi/CardRecordingRebuild.h"
#include "app/avi/RecordingRebuild.h"
#include "app/avi/SilentAudio.h"

#include "RecordingProbe.h"
#include "SmallAvi.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx;
using namespace kx::test;
namespace fs = std::filesystem;

namespace {

PreparedRecording Prepare(const std::string& path, const std::string& scratch, const std::string& name = "") {
    FileRecordingReader reader;
    EXPECT_TRUE(reader.Open(path));
    return PrepareCardRecording(reader, name.empty() ? fs::path(path).filename().string() : name, scratch);
}

std::uint32_t Le32(const Bytes& b, std::size_t at) { return ReadLE32(&b[at]); }

// Inserts `bytes` zero-filled "JUNK" at `at`; with `grow` the size field at `grow` counts it.
void InsertJunk(const std::string& path, std::size_t at, std::uint32_t bytes, std::optional<std::size_t> grow) {
    std::string f = ReadFileBytes(path);
    std::string junk(8 + bytes, '\0');
    std::memcpy(junk.data(), "JUNK", 4);
    WriteLE32(junk.data() + 4, bytes);
    f.insert(at, junk);
    if (grow) WriteLE32(f.data() + *grow, ReadLE32(f.data() + *grow) + 8 + bytes);
    WriteFileBytes(path, f);
}

class Rebuild : public ::testing::Test {
protected:
    TempDir dir;
    std::string scratch = dir / "temp";
};

// A minute of one-channel video at 30 fps without sound: 600 silent chunks of 2205 samples,
// a frame time of 333 (0.1 ms), one silent chunk after every third or fourth video chunk.
TEST_F(Rebuild, AddsAMinuteOfSilenceToATwoStreamRecording) {
    WriteSmallAvi(dir / "REC_1.avi", {.videoStreams = 1, .frames = 1800, .fps = 30});
    const Bytes in = ReadAll(dir / "REC_1.avi");
    const auto prepared = Prepare(dir / "REC_1.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    EXPECT_EQ(prepared.path, scratch + "/REC_1.avi_AddAudio.avi");
    EXPECT_EQ(ReadAll(scratch + "/REC_1.avi_hdlr"), Bytes(in.begin(), in.begin() + 20 + Le32(in, 16)));

    const Bytes out = ReadAll(prepared.path);
    const Riff r = Walk(out);
    EXPECT_EQ(Le32(out, 16), Le32(in, 16) + 100);              // header list grows by the silent list
    EXPECT_EQ(r.riffSize, Le32(in, 4) + 100 + 600 * 4434);      // R + 100 + n x 4434
    EXPECT_EQ(r.riffSize + 8, out.size());
    EXPECT_EQ(r.main.streams, 3u);
    EXPECT_EQ(r.main.totalFrames, 1800u);
    ASSERT_EQ(r.headers.size(), 3u);
    const auto silentList = SilentStreamList(1323000);
    EXPECT_EQ(Bytes(out.begin() + 212, out.begin() + 312), Bytes(silentList.begin(), silentList.end()));
    EXPECT_EQ(r.headers[1].length, 1323000u);
    EXPECT_EQ(r.headers[2].type, kFccTxts);

    // Chunks: text renumbered 02, silence as 01, after every third or fourth video chunk.
    EXPECT_TRUE(r.Of("01tx").empty());
    EXPECT_EQ(r.Of("02tx").size(), 1800u + 180u);
    EXPECT_EQ(r.Of("01wb").size(), 600u);
    int videoSinceSilence = 0;
    int gaps = 0;
    const auto first = std::find_if(r.chunks.begin(), r.chunks.end(), [](const Chunk& c) { return c.id == "01wb"; });
    ASSERT_NE(first, r.chunks.begin());
    EXPECT_EQ((first - 1)->id, "00dc");  // right after the fourth frame: 4 x 333 passes 1000
    EXPECT_EQ(std::count_if(r.chunks.begin(), first, [](const Chunk& c) { return c.id == "00dc"; }), 4);
    for (const Chunk& c : std::vector<Chunk>(r.chunks.begin(), r.chunks.end() - 1)) {  // the last is the remainder
        if (c.id == "00dc") ++videoSinceSilence;
        if (c.id != "01wb" || videoSinceSilence == 0) continue;
        EXPECT_TRUE(videoSinceSilence == 3 || videoSinceSilence == 4) << videoSinceSilence;
        videoSinceSilence = 0;
        ++gaps;
    }
    EXPECT_GT(gaps, 500);

    // Index: one entry per chunk, offsets from "movi" starting at 4 and chained.
    ASSERT_TRUE(r.hasIndex);
    ASSERT_EQ(r.index.size(), r.chunks.size());
    EXPECT_EQ(r.index[0].offset, 4u);
    for (std::size_t i = 0; i < r.index.size(); ++i) {
        EXPECT_EQ(r.index[i].id, r.chunks[i].id);
        EXPECT_EQ(r.index[i].offset, r.chunks[i].offset);
        if (i > 0) {
            EXPECT_EQ(r.index[i].offset, r.index[i - 1].offset + PaddedSize(r.index[i - 1].size) + 8);
        }
        const std::uint32_t key = r.chunks[i].id == "00dc" ? (r.chunks[i].data[4] == 0x67 ? 0x10 : 0)
                                  : r.chunks[i].id == "01wb" ? 0 : 0x10;
        EXPECT_EQ(r.index[i].flags, key) << i << " " << r.chunks[i].id;
    }
}

TEST_F(Rebuild, RepairsACutOffTwoStreamRecordingWithSilence) {
    WriteSmallAvi(dir / "REC_2.avi", {.videoStreams = 1, .frames = 1800, .fps = 30, .finish = false});
    const Bytes in = ReadAll(dir / "REC_2.avi");
    const auto prepared = Prepare(dir / "REC_2.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    EXPECT_EQ(prepared.path, scratch + "/REC_2.avi_REPAIR.avi");
    const Bytes out = ReadAll(prepared.path);
    const Riff r = Walk(out);
    const std::uint32_t S = Le32(in, 16);
    const std::uint64_t D = in.size() - (20 + S) - 12;  // every chunk is intact
    const std::uint64_t chunks = 1800 + 1800 + 180;
    EXPECT_EQ(r.riffSize, 16 * chunks + S + (D + 4) + 28 + 100 + 600 * 4434);
    EXPECT_EQ(r.riffSize + 8, out.size());
    EXPECT_EQ(r.main.totalFrames, 1800u);
    EXPECT_EQ(r.headers[0].length, 1800u);
    EXPECT_EQ(r.Of("01wb").size(), 600u);
    EXPECT_EQ(r.index.size(), chunks + 600);
}

TEST_F(Rebuild, ACutRecordingKeepsEveryIntactChunkOfEveryStream) {
    WriteSmallAvi(dir / "REC_3.avi", {.videoStreams = 2, .sound = true, .frames = 20, .fps = 10, .finish = false});
    Bytes in = ReadAll(dir / "REC_3.avi");
    const Riff whole = Walk(in);
    // Cut in the middle of the 16th front video chunk.
    const auto front = whole.Of("00dc");
    const std::size_t movi = 20 + Le32(in, 16) + 8;
    const std::size_t cut = movi + front[15]->offset + 8 + 10;
    in.resize(cut);
    WriteFileBytes(dir / "REC_3.avi", std::string(in.begin(), in.end()));

    const auto prepared = Prepare(dir / "REC_3.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    const Riff r = Walk(ReadAll(prepared.path));
    ASSERT_EQ(r.headers.size(), 4u);  // no silence: the recording has sound
    EXPECT_EQ(r.main.streams, 4u);
    EXPECT_EQ(r.main.totalFrames, 15u);
    EXPECT_EQ(r.headers[0].length, 15u);
    EXPECT_EQ(r.headers[1].length, 15u);
    EXPECT_EQ(r.headers[2].length, 15u * 2205);  // PCM counts samples
    EXPECT_EQ(r.headers[3].length, 15u + 2u);
    EXPECT_EQ(r.Of("01dc").size(), 15u);
    EXPECT_EQ(r.Of("03tx").size(), 17u);
    for (std::size_t i = 0; i < r.chunks.size(); ++i)
        EXPECT_EQ(r.chunks[i].data, whole.chunks[i].data) << i;
    EXPECT_EQ(r.index.size(), r.chunks.size());
}

TEST_F(Rebuild, ARearChannelWithoutAnIntactFrameIsLeftOut) {
    WriteSmallAvi(dir / "REC_4.avi", {.videoStreams = 2, .sound = true, .frames = 3, .finish = false});
    Bytes in = ReadAll(dir / "REC_4.avi");
    const Riff whole = Walk(in);
    const std::size_t movi = 20 + Le32(in, 16) + 8;
    in.resize(movi + whole.Of("01dc")[0]->offset + 12);  // cut inside the first rear frame
    WriteFileBytes(dir / "REC_4.avi", std::string(in.begin(), in.end()));

    const auto prepared = Prepare(dir / "REC_4.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    const Bytes out = ReadAll(prepared.path);
    const Riff r = Walk(out);
    EXPECT_EQ(r.main.streams, 3u);
    ASSERT_EQ(r.headers.size(), 3u);
    EXPECT_EQ(r.headers[1].type, kFccAuds);
    EXPECT_EQ(r.headers[2].type, kFccTxts);
    EXPECT_EQ(Le32(out, 16), Le32(in, 16) - 124);  // one video stream list fewer
    EXPECT_EQ(r.Of("00dc").size(), 1u);
    EXPECT_TRUE(r.Of("01dc").empty());
    EXPECT_TRUE(r.Of("03tx").empty());
    EXPECT_EQ(r.riffSize + 8, out.size());
}

TEST_F(Rebuild, CompleteRecordingsWithSoundOrTwoChannelsPlayAsTheyAre) {
    WriteSmallAvi(dir / "a.avi", {.videoStreams = 2, .frames = 5});
    WriteSmallAvi(dir / "b.avi", {.videoStreams = 1, .sound = true, .frames = 5});
    for (const char* name : {"a.avi", "b.avi"}) {
        EXPECT_EQ(Prepare(dir / name, scratch).play, PreparedRecording::Play::Original);
        EXPECT_FALSE(fs::exists(scratch + "/" + name + "_hdlr"));
    }
}

TEST_F(Rebuild, FindsAMoviListThatDoesNotFollowTheHeaderList) {
    WriteSmallAvi(dir / "j.avi", {.videoStreams = 1, .frames = 12, .finish = false});
    const Bytes in = ReadAll(dir / "j.avi");
    InsertJunk(dir / "j.avi", 20 + Le32(in, 16), 300, std::nullopt);
    const auto prepared = Prepare(dir / "j.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    const Riff r = Walk(ReadAll(prepared.path));
    EXPECT_EQ(r.Of("00dc").size(), 12u);
    EXPECT_EQ(r.riffSize + 8, ReadAll(prepared.path).size());
}

TEST_F(Rebuild, StreamsHeaderListsChunksAndIndexesBeyondAnyFixedBuffer) {
    // A header list over 1,000,000 bytes, a 1.2 MB chunk, and more than 62,500 index entries.
    WriteSmallAvi(dir / "big.avi", {.videoStreams = 1, .frames = 40000, .fps = 30, .finish = false});
    const Bytes small = ReadAll(dir / "big.avi");
    const std::uint32_t S = Le32(small, 16);
    InsertJunk(dir / "big.avi", 20 + S, 1100000, 16);
    std::string f = ReadFileBytes(dir / "big.avi");
    std::string bigFrame(8 + 1200000, '\x11');
    std::memcpy(bigFrame.data(), "00dc", 4);
    WriteLE32(bigFrame.data() + 4, 1200000);
    bigFrame[8] = bigFrame[9] = bigFrame[10] = 0;
    bigFrame[11] = 1;
    bigFrame[12] = 0x65;
    f += bigFrame;
    WriteFileBytes(dir / "big.avi", f);

    const auto prepared = Prepare(dir / "big.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    const Bytes out = ReadAll(prepared.path);
    const Riff r = Walk(out);
    EXPECT_EQ(r.riffSize + 8, out.size());
    EXPECT_EQ(Le32(out, 16), S + 8 + 1100000 + 100);
    EXPECT_EQ(r.main.totalFrames, 40001u);
    ASSERT_EQ(r.Of("00dc").size(), 40001u);
    EXPECT_EQ(r.Of("00dc").back()->data.size(), 1200000u);
    EXPECT_EQ(r.index.size(), r.chunks.size());
    EXPECT_GT(r.index.size(), 62500u);
    const auto big = std::find_if(r.index.begin(), r.index.end(), [](const IndexEntry& e) { return e.size == 1200000; });
    ASSERT_NE(big, r.index.end());
    EXPECT_EQ(big->flags, 0x10u);  // an IDR slice
}

TEST_F(Rebuild, AnOddLastChunkMissingOnlyItsPadByteIsKept) {
    WriteSmallAvi(dir / "odd.avi", {.videoStreams = 1, .frames = 3, .finish = false});
    std::string f = ReadFileBytes(dir / "odd.avi");
    const std::string packet = "GPRMC,1,A";  // odd length, no pad byte after it
    std::string chunk = "01tx" + std::string(4, '\0') + packet;
    WriteLE32(chunk.data() + 4, static_cast<std::uint32_t>(packet.size()));
    WriteFileBytes(dir / "odd.avi", f + chunk);
    const auto prepared = Prepare(dir / "odd.avi", scratch);
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    const Riff r = Walk(ReadAll(prepared.path));
    ASSERT_FALSE(r.chunks.empty());
    EXPECT_EQ(std::string(r.chunks.back().data.begin(), r.chunks.back().data.end()), packet);
    EXPECT_EQ(r.index.back().size, packet.size());
}

TEST_F(Rebuild, ACompleteAddAudioTargetIsReusedAndAnIncompleteOneRebuilt) {
    WriteSmallAvi(dir / "s.avi", {.videoStreams = 1, .frames = 30});
    const auto first = Prepare(dir / "s.avi", scratch);
    ASSERT_EQ(first.play, PreparedRecording::Play::Rebuilt);
    const std::string good = ReadFileBytes(first.path);
    fs::remove(scratch + "/s.avi_hdlr");  // reused: the work files are not made again
    EXPECT_EQ(Prepare(dir / "s.avi", scratch).path, first.path);
    EXPECT_FALSE(fs::exists(scratch + "/s.avi_hdlr"));

    WriteFileBytes(first.path, good.substr(0, good.size() / 2));  // an interrupted rebuild
    EXPECT_EQ(Prepare(dir / "s.avi", scratch).play, PreparedRecording::Play::Rebuilt);
    EXPECT_EQ(ReadFileBytes(first.path), good);
}

TEST_F(Rebuild, DamagedRecordingsFailCleanlyAndLeaveNoTarget) {
    WriteSmallAvi(dir / "ok.avi", {.videoStreams = 1, .frames = 4, .finish = false});
    const std::string ok = ReadFileBytes(dir / "ok.avi");
    const std::uint32_t S = ReadLE32(ok.data() + 16);
    auto with32 = [&](std::size_t at, std::uint32_t v) {
        std::string s = ok;
        WriteLE32(s.data() + at, v);
        return s;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},
        {"short", ok.substr(0, 10)},
        {"header only", ok.substr(0, 20 + S)},
        {"header cut", ok.substr(0, 100)},
        {"absurd header size", with32(16, 0xFFFFFFFFu)},
        {"absurd first chunk", with32(20 + S + 12 + 4, 0xFFFFFFFFu)},
        {"no movi list", with32(20 + S + 8, MakeFourCC("junk"))},
        {"no video header", with32(88 + 20, MakeFourCC("auds"))},
        {"zero rate", with32(132, 0)},  // no sound: silence needs the frame rate
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteFileBytes(dir / "bad.avi", bytes);
        const auto prepared = Prepare(dir / "bad.avi", scratch);
        EXPECT_EQ(prepared.play, PreparedRecording::Play::Failed);
        EXPECT_FALSE(prepared.error.empty());
        EXPECT_FALSE(fs::exists(scratch + "/bad.avi_REPAIR.avi"));
        EXPECT_FALSE(fs::exists(scratch + "/bad.avi_REPAIR.avi.idx"));
    }
}

TEST(ScratchFileName, NeverLeavesTheScratchFolder) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"REC_20240307_090500_2.avi", "REC_20240307_090500_2.avi"},
        {"../../etc/passwd", "______etc_passwd"},
        {"a\\..\\b", "a____b"},
        {"..", "__"},
        {".", "recording"},
        {"", "recording"},
        {"x\ny\x7Fz", "x_y_z"},
        {"...avi", "__.avi"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(ScratchFileName(in), out) << in;
    EXPECT_EQ(ScratchFileName(std::string(300, 'a')).size(), 200u);
    // A cut never splits a character: 199 ASCII bytes then three-byte characters.
    std::string korean;
    for (int i = 0; i < 10; ++i) korean += "녹";
    EXPECT_EQ(ScratchFileName(std::string(199, 'a') + korean), std::string(199, 'a'));
}

TEST_F(Rebuild, HostileNamesFromTheCardStayInTheScratchFolder) {
    WriteSmallAvi(dir / "h.avi", {.videoStreams = 1, .frames = 4, .finish = false});
    const auto prepared = Prepare(dir / "h.avi", scratch, "../../../h.avi");
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt);
    EXPECT_EQ(fs::path(prepared.path).parent_path(), fs::path(scratch));
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(e.path() == dir / "h.avi" || e.path() == scratch) << e.path();
}

}  // namespace
