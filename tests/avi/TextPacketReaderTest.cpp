#include "app/avi/TextPacketReader.h"

#include "SmallAvi.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace kx;
using namespace kx::test;

namespace {

struct ReadResult {
    std::vector<WrittenPacket> packets;
    bool indexed = false;
};

ReadResult ReadAll(const ByteSource& src) {
    std::string error;
    const auto info = ReadAviFile(src, error);
    if (!info) return {};
    TextPacketReader reader(src, *info);
    ReadResult r;
    r.indexed = reader.UsesIndex();
    std::uint8_t buffer[1024];
    std::uint32_t length = sizeof buffer, time = 0;
    while (reader.Next(buffer, length, time) == kTextPacketOk) {
        r.packets.push_back({std::string(reinterpret_cast<char*>(buffer), length), time});
        length = sizeof buffer;
    }
    EXPECT_EQ(reader.Next(buffer, length, time), kTextPacketEnd);  // the end stays the end
    return r;
}

void ExpectSame(const std::vector<WrittenPacket>& got, const std::vector<WrittenPacket>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].bytes, want[i].bytes) << i;
        EXPECT_EQ(got[i].time, want[i].time) << i;
    }
}

MemoryByteSource FromBytes(const std::string& bytes) {
    return MemoryByteSource(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST(TextPacketReader, PacketsCarryTheTimeOfTheVideoFrameBeforeThem) {
    TempDir dir;
    for (const SmallAviShape shape : {SmallAviShape{.videoStreams = 1}, SmallAviShape{.videoStreams = 2, .sound = true},
                                      SmallAviShape{.frames = 40, .fps = 30}}) {
        const auto written = WriteSmallAvi(dir / "r.avi", shape);
        const auto src = FileByteSource::Open(dir / "r.avi");
        const ReadResult r = ReadAll(*src);
        EXPECT_TRUE(r.indexed);
        ExpectSame(r.packets, written);
    }
    // At 10 fps the packet after the eleventh frame has the time 1000.
    const auto written = WriteSmallAvi(dir / "r.avi", {});
    EXPECT_EQ(written[11].time, 1000u);
    EXPECT_EQ(written[11].bytes[0], 'M');
}

TEST(TextPacketReader, WalksAFileWithoutIndexUpToTheCut) {
    TempDir dir;
    const auto written = WriteSmallAvi(dir / "cut.avi", {.frames = 25, .finish = false});
    const std::string bytes = ReadFileBytes(dir / "cut.avi");
    const ReadResult whole = ReadAll(FromBytes(bytes));
    EXPECT_FALSE(whole.indexed);
    ExpectSame(whole.packets, written);

    // Cut anywhere: what is read is always a prefix of what was written.
    for (std::size_t cut = 200; cut <= bytes.size(); cut += 7) {
        const ReadResult r = ReadAll(FromBytes(bytes.substr(0, cut)));
        ASSERT_LE(r.packets.size(), written.size());
        for (std::size_t i = 0; i < r.packets.size(); ++i) EXPECT_EQ(r.packets[i].bytes, written[i].bytes);
    }
}

TEST(TextPacketReader, AcceptsIndexOffsetsCountedFromTheFileStart) {
    TempDir dir;
    const auto written = WriteSmallAvi(dir / "r.avi", {});
    std::string bytes = ReadFileBytes(dir / "r.avi");
    const auto src = FromBytes(bytes);
    std::string error;
    const auto info = ReadAviFile(src, error);
    ASSERT_TRUE(info);
    for (std::uint32_t i = 0; i < info->indexEntries; ++i) {
        char* offset = bytes.data() + *info->indexOffset + i * 16 + 8;
        WriteLE32(offset, ReadLE32(offset) + static_cast<std::uint32_t>(info->moviFourccOffset));
    }
    const ReadResult r = ReadAll(FromBytes(bytes));
    EXPECT_TRUE(r.indexed);
    ExpectSame(r.packets, written);
}

TEST(TextPacketReader, ABrokenIndexFallsBackToTheWalkAndBadEntriesAreSkipped) {
    TempDir dir;
    const auto written = WriteSmallAvi(dir / "r.avi", {});
    const std::string good = ReadFileBytes(dir / "r.avi");
    std::string error;
    const auto info = ReadAviFile(FromBytes(good), error);
    ASSERT_TRUE(info);

    std::string firstBroken = good;  // the first entry points nowhere: walk instead
    WriteLE32(firstBroken.data() + *info->indexOffset + 8, 0x7FFFFFF0u);
    const ReadResult walked = ReadAll(FromBytes(firstBroken));
    EXPECT_FALSE(walked.indexed);
    ExpectSame(walked.packets, written);

    std::string laterBroken = good;  // a later text entry points at the wrong chunk: skipped
    const std::size_t entry = *info->indexOffset + 2 * 16;  // frame 0, "M" packet, "G" packet
    ASSERT_EQ(laterBroken.substr(entry, 4), "01tx");
    WriteLE32(laterBroken.data() + entry + 8, 4);
    const ReadResult skipped = ReadAll(FromBytes(laterBroken));
    EXPECT_EQ(skipped.packets.size(), written.size() - 1);
}

TEST(TextPacketReader, LongPacketsAreCutToTheCallersBuffer) {
    TempDir dir;
    WriteSmallAvi(dir / "r.avi", {});
    const auto src = FileByteSource::Open(dir / "r.avi");
    std::string error;
    TextPacketReader reader(*src, *ReadAviFile(*src, error));
    std::uint8_t small[2];
    std::uint32_t length = sizeof small, time = 99;
    ASSERT_EQ(reader.Next(small, length, time), kTextPacketOk);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(small[0], 'M');
    EXPECT_EQ(time, 0u);
}

}  // namespace
