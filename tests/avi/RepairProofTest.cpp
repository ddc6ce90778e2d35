// Rebuilt recordings checked by a player nobody here wrote: FFmpeg's own tools must accept
// them without a word, and every frame that was intact in the cut recording must decode to the
// same picture as before.

#include "app/avi/CardRecordingRebuild.h"
#include "sim/CameraSimulator.h"
#include "sim/FrameMark.h"

#include "RecordingProbe.h"
#include "RunCommand.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

extern "C" {
#include <libavutil/log.h>
}

using namespace kx;
using namespace kx::test;
namespace fs = std::filesystem;

namespace {

struct Shape {
    const char* name;
    int channels;
    sim::AudioKind audio;
    int cutStep;  // every chunk boundary with 1, every n-th otherwise
};

void PrintTo(const Shape& s, std::ostream* os) { *os << s.name; }

std::string FfmpegComplaints(const std::string& path) {
    // The text stream has no decoder: it is copied, everything else decoded.
    return RunCommand("ffprobe -v error '" + path + "' 2>&1").output +
           RunCommand("ffmpeg -nostdin -v error -i '" + path + "' -map 0 -c:s copy -f null - 2>&1").output;
}

PreparedRecording Prepare(const std::string& path, const std::string& scratch) {
    FileRecordingReader reader;
    EXPECT_TRUE(reader.Open(path));
    return PrepareCardRecording(reader, fs::path(path).filename().string(), scratch);
}

int Mark(const Picture& p) {
    const sim::FrameMark m = sim::ReadFrameMark(p.y.data(), p.width, p.width, p.height);
    return m.found ? static_cast<int>(m.frame) : -1;
}

class RepairProof : public ::testing::TestWithParam<Shape> {
protected:
    static void SetUpTestSuite() { av_log_set_level(AV_LOG_QUIET); }
    TempDir dir;
};

TEST_P(RepairProof, EveryCutRebuildsToAFileFfmpegAcceptsWithEveryIntactFrame) {
    const Shape shape = GetParam();
    sim::SimOptions o;
    o.channels = shape.channels;
    o.audio = shape.audio;
    o.seconds = 1;
    o.fps = 10;
    o.cut = std::uint64_t{1} << 40;  // unfinished, nothing cut yet
    const auto full = sim::GenerateRecording(dir / "REC_20240307_090500_1.avi", o);
    ASSERT_TRUE(full.ok) << full.error;
    const Bytes bytes = ReadAll(full.path);
    const Riff whole = Walk(bytes);
    const std::size_t movi = 20 + ReadLE32(&bytes[16]) + 8;
    const auto reference = Decode(full.path);

    // Cuts after every chunk (or every n-th) and in the middle of every video chunk.
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < whole.chunks.size(); ++i) {
        const Chunk& c = whole.chunks[i];
        const std::size_t end = movi + c.offset + 8 + c.data.size() + (c.data.size() & 1);
        if (i % static_cast<std::size_t>(shape.cutStep) == 0) cuts.push_back(end);
        if (c.id.substr(2) == "dc") cuts.push_back(movi + c.offset + 8 + c.data.size() / 2);
    }

    for (const std::size_t cut : cuts) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        const std::string path = dir / "cut/REC_20240307_090500_1.avi";
        fs::create_directories(dir / "cut");
        WriteFileBytes(path, std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        std::vector<std::size_t> intact(static_cast<std::size_t>(shape.channels), 0);
        for (const Chunk& c : whole.chunks)
            if (movi + c.offset + 8 + c.data.size() <= cut && c.id[2] == 'd' && c.id[1] - '0' < shape.channels)
                ++intact[static_cast<std::size_t>(c.id[1] - '0')];

        const auto prepared = Prepare(path, dir / "scratch");
        if (intact[0] == 0) {
            EXPECT_EQ(prepared.play, PreparedRecording::Play::Failed);
            continue;
        }
        ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
        EXPECT_EQ(FfmpegComplaints(prepared.path), "");
        const auto decoded = Decode(prepared.path);
        for (std::size_t ch = 0; ch < intact.size(); ++ch) {
            ASSERT_GT(decoded.size(), ch);
            if (intact[ch] == 0) {  // a channel without an intact frame is left out
                EXPECT_NE(decoded[ch].type, AVMEDIA_TYPE_VIDEO);
                continue;
            }
            ASSERT_EQ(decoded[ch].pictures.size(), intact[ch]) << "channel " << ch;
            for (std::size_t k = 0; k < intact[ch]; ++k) {
                EXPECT_EQ(Mark(decoded[ch].pictures[k]), static_cast<int>(k));
                EXPECT_TRUE(decoded[ch].pictures[k].y == reference[ch].pictures[k].y) << "frame " << k;
            }
        }
        if (shape.channels == 1 && shape.audio == sim::AudioKind::None) {
            // Silence of n x 0.1 s, n = trunc(frames / 10 fps x 10).
            ASSERT_EQ(decoded.size(), 3u);
            EXPECT_EQ(decoded[1].samples, static_cast<std::int64_t>(intact[0] * 2205));
            EXPECT_EQ(decoded[1].Rms(), 0.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, RepairProof,
                         ::testing::Values(Shape{"OneChannelSilent", 1, sim::AudioKind::None, 1},
                                           Shape{"OneChannelAac", 1, sim::AudioKind::Aac, 2},
                                           Shape{"OneChannelPcm", 1, sim::AudioKind::Pcm, 3},
                                           Shape{"TwoChannelsSilent", 2, sim::AudioKind::None, 2},
                                           Shape{"TwoChannelsAac", 2, sim::AudioKind::Aac, 2}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(AddAudioProof, ACompleteSilentRecordingGetsSilenceFfmpegAccepts) {
    av_log_set_level(AV_LOG_QUIET);
    TempDir dir;
    sim::SimOptions o;
    o.channels = 1;
    o.audio = sim::AudioKind::None;
    o.seconds = 2;
    o.fps = 30;
    const auto made = sim::GenerateRecording(dir.path(), o);
    ASSERT_TRUE(made.ok) << made.error;
    const auto prepared = Prepare(made.path, dir / "scratch");
    ASSERT_EQ(prepared.play, PreparedRecording::Play::Rebuilt) << prepared.error;
    EXPECT_EQ(FfmpegComplaints(prepared.path), "");
    const auto decoded = Decode(prepared.path);
    ASSERT_EQ(decoded.size(), 3u);
    ASSERT_EQ(decoded[0].pictures.size(), 60u);
    for (std::size_t k = 0; k < 60; ++k) EXPECT_EQ(Mark(decoded[0].pictures[k]), static_cast<int>(k));
    EXPECT_EQ(decoded[1].type, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(decoded[1].samples, 20 * 2205);  // 2 s: n = 20 chunks of 0.1 s
}

}  // namespace
