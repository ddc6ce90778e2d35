#include "app/avi/AviReader.h"

#include "SmallAvi.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kx;
using namespace kx::test;

namespace {

TEST(AviReader, ReadsTheCameraLayoutWithFixedOffsets) {
    TempDir dir;
    WriteSmallAvi(dir / "one.avi", {.videoStreams = 1, .frames = 25});
    const std::string bytes = ReadFileBytes(dir / "one.avi");
    // One channel without sound: the text stream's type begins at byte 232.
    EXPECT_EQ(bytes.substr(232, 4), "txts");
    EXPECT_EQ(ReadLE32(bytes.data() + 48), 25u);   // total frames
    EXPECT_EQ(ReadLE32(bytes.data() + 56), 2u);    // stream count
    EXPECT_EQ(ReadLE32(bytes.data() + 128), 1u);   // video scale
    EXPECT_EQ(ReadLE32(bytes.data() + 132), 10u);  // video rate
    EXPECT_EQ(ReadLE32(bytes.data() + 140), 25u);  // video length

    const auto src = FileByteSource::Open(dir / "one.avi");
    ASSERT_TRUE(src);
    std::string error;
    const auto info = ReadAviFile(*src, error);
    ASSERT_TRUE(info) << error;
    EXPECT_FALSE(info->Unfinished());
    EXPECT_EQ(info->streams.size(), 2u);
    EXPECT_EQ(info->TextStream(), 1);
    EXPECT_EQ(info->VideoStreams(), 1);
    EXPECT_EQ(info->headerListSize + 20, info->moviListOffset);  // movi follows hdrl directly
    ASSERT_TRUE(info->indexOffset);
    EXPECT_EQ(info->indexEntries, 25u + 25u + 3u);
    EXPECT_EQ(info->VideoFrameTimeMs(11), 1100u);
}

TEST(AviReader, CountsPcmLengthInSamplesAndOtherStreamsInChunks) {
    TempDir dir;
    WriteSmallAvi(dir / "two.avi", {.videoStreams = 2, .sound = true, .frames = 12});
    const auto src = FileByteSource::Open(dir / "two.avi");
    std::string error;
    const auto info = ReadAviFile(*src, error);
    ASSERT_TRUE(info) << error;
    ASSERT_EQ(info->streams.size(), 4u);
    EXPECT_EQ(info->streams[1].header.length, 12u);
    EXPECT_EQ(info->streams[2].header.type, kFccAuds);
    EXPECT_EQ(info->streams[2].header.length, 12u * 2205);
    EXPECT_EQ(info->streams[3].header.length, 12u + 2u);
    EXPECT_EQ(info->TextStream(), 3);
}

TEST(AviReader, AnUnfinishedRecordingHasSizesZeroAndNoIndex) {
    TempDir dir;
    WriteSmallAvi(dir / "cut.avi", {.frames = 8, .finish = false});
    const auto src = FileByteSource::Open(dir / "cut.avi");
    std::string error;
    const auto info = ReadAviFile(*src, error);
    ASSERT_TRUE(info) << error;
    EXPECT_TRUE(info->Unfinished());
    EXPECT_EQ(info->main.totalFrames, 0u);
    EXPECT_EQ(info->streams[0].header.length, 0u);
    EXPECT_FALSE(info->indexOffset);
    EXPECT_EQ(info->moviEnd, info->fileSize);
}

TEST(AviReader, RefusesWhatIsNotARecording) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "not an AVI file"},
        {"RIFF\0\0\0\0WAVE", "not an AVI file"},
        {std::string("RIFF\0\0\0\0AVI ", 12), "no header list"},
        {std::string("RIFF\0\0\0\0AVI LIST\x04\0\0\0hdrl", 24), "no main header"},
    };
    for (const auto& [bytes, why] : cases) {
        MemoryByteSource src(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        std::string error;
        EXPECT_FALSE(ReadAviFile(src, error));
        EXPECT_EQ(error, why);
    }
}

// Every prefix of a recording and every corrupted size field must give a clean answer.
TEST(AviReader, SurvivesEveryCutAndCorruptedSizeField) {
    TempDir dir;
    WriteSmallAvi(dir / "r.avi", {.videoStreams = 2, .sound = true, .frames = 3});
    const std::string bytes = ReadFileBytes(dir / "r.avi");
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        MemoryByteSource src(reinterpret_cast<const std::uint8_t*>(bytes.data()), cut);
        std::string error;
        const auto info = ReadAviFile(src, error);
        if (info) {
            EXPECT_LE(info->moviEnd, cut);
        }
    }
    for (std::size_t at = 4; at + 4 <= 600 && at + 4 <= bytes.size(); at += 4) {
        for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            std::string broken = bytes;
            WriteLE32(broken.data() + at, value);
            MemoryByteSource src(reinterpret_cast<const std::uint8_t*>(broken.data()), broken.size());
            std::string error;
            const auto info = ReadAviFile(src, error);
            if (info) {
                EXPECT_LE(info->moviEnd, broken.size());
                EXPECT_LE(info->streams.size(), kMaxStreams);
            }
        }
    }
}

}  // namespace
