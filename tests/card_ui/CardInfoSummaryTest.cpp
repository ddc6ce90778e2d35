// The card view's numbers without a window: counting by kind, the size texts, when the view
// refuses to open, and which folder contents switch on the extended layout.

#include "card/CardInfoSummary.h"

#include "app/core/StringIds.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx;
using namespace kx::test;
namespace fs = std::filesystem;

namespace {

RecordingInfo Card(const std::string& name, std::uint64_t kb) {
    RecordingInfo r;
    r.name = r.cardName = r.fullPath = name;
    r.sizeKb = kb;
    return r;
}

std::uint64_t OwnSize(const RecordingInfo& r) { return r.sizeKb; }

TEST(CardInfoSummary, CountsEachKindAndTheAllRow) {
    std::vector<RecordingInfo> recordings;
    for (int i = 0; i < 3; ++i) recordings.push_back(Card("REC_2024010" + std::to_string(i) + "_000000_1.avi", 1024));
    for (int i = 0; i < 2; ++i) recordings.push_back(Card("EVT_2024010" + std::to_string(i) + "_000000_1.avi", 2048));
    recordings.push_back(Card("MOT_20240101_000000_1.avi", 4096));
    const CardInfoSummary s = SummariseCard(recordings, OwnSize);
    EXPECT_EQ(s.counts, (std::array<std::int32_t, 4>{6, 3, 2, 1}));
    EXPECT_EQ(s.totalKb, (std::array<std::uint64_t, 4>{3 * 1024 + 2 * 2048 + 4096, 3 * 1024, 2 * 2048, 4096}));
    ASSERT_EQ(s.entries.size(), 6u);
    EXPECT_EQ(s.entries[0].name, "REC_20240100_000000_1.avi");
    EXPECT_EQ(s.entries[5].name, "MOT_20240101_000000_1.avi");
    EXPECT_EQ(s.entries[5].sizeText, "  4MB");
}

TEST(CardInfoSummary, OnlyTheListedPrefixesCountOutsideTheAllRow) {
    struct Case {
        const char* fullPath;
        int row;  // the row besides "all", or kCardRowAll for none
    } cases[] = {
        {"REC_1.avi", kCardRowNormal}, {"EVT_1.avi", kCardRowEvent},     {"PAR_1.avi", kCardRowParking},
        {"MDI_1.avi", kCardRowParking}, {"MOT_1.avi", kCardRowParking},  {"PRK_1.avi", kCardRowAll},
        {"rec_1.avi", kCardRowAll},    {"Evt_1.avi", kCardRowAll},       {"RE", kCardRowAll},
        {"", kCardRowAll},             {"/media/REC_1.avi", kCardRowAll},  // the path's start decides, not the name
    };
    for (const Case& c : cases) {
        RecordingInfo r = Card("REC_1.avi", 2048);
        r.fullPath = c.fullPath;
        const CardInfoSummary s = SummariseCard({r}, OwnSize);
        std::array<std::int32_t, 4> counts{1, 0, 0, 0};
        std::array<std::uint64_t, 4> kb{2048, 0, 0, 0};
        if (c.row != kCardRowAll) counts[static_cast<std::size_t>(c.row)] = 1, kb[static_cast<std::size_t>(c.row)] = 2048;
        EXPECT_EQ(s.counts, counts) << c.fullPath;
        EXPECT_EQ(s.totalKb, kb) << c.fullPath;
    }
}

TEST(CardInfoSummary, SizesComeFromTheGivenLookup) {
    // A recording whose size was not asked for at load time still counts with its real size.
    RecordingInfo r = Card("REC_1.avi", kSizeUnknown);
    const CardInfoSummary s = SummariseCard({r}, [](const RecordingInfo&) -> std::uint64_t { return 3 * 1024 + 1023; });
    EXPECT_EQ(s.totalKb[kCardRowAll], 4095u);
    EXPECT_EQ(s.entries[0].sizeText, "  3MB");
}

TEST(CardInfoSummary, TextsRoundDownToWholeMegabytes) {
    EXPECT_EQ(CardSizeMbText(0), "  0MB");
    EXPECT_EQ(CardSizeMbText(1535), "  1MB");
    EXPECT_EQ(CardSizeMbText(1024 * 1024), "1024MB");
    EXPECT_EQ(CardCountText(1), "   1");
    EXPECT_EQ(CardCountText(0), "   0");
    EXPECT_EQ(CardCountText(12345), "12345");
    EXPECT_EQ(CardTotalText(1536), "0.0GB");  // 1 MB: the KB below a whole MB are dropped first
    EXPECT_EQ(CardTotalText(1536 * 1024), "1.5GB");
    EXPECT_EQ(CardTotalText(1024 * 1024 - 1), "1.0GB");  // 1023 MB rounds to 1.0
    EXPECT_EQ(CardTotalText(0), "0.0GB");
    EXPECT_EQ(CardTotalText(51 * 1024 + 1023), "0.0GB");  // 51 MB; the dropped KB would round it up
    EXPECT_EQ(CardTotalText(52 * 1024), "0.1GB");
    EXPECT_EQ(CardTotalText(64ull * 1024 * 1024 * 1024), "65536.0GB");
}

TEST(CardInfoRefusal, RefusesInOrderNoRecordingsNotACardNoSetupFile) {
    TempDir dir;
    const std::string withSetup = dir / "with", without = dir / "without", folderSetup = dir / "folder";
    fs::create_directories(withSetup);
    fs::create_directories(without);
    fs::create_directories(folderSetup + "/setup.cfg");
    WriteFileBytes(withSetup + "/setup.cfg", "");  // its contents do not matter here
    WriteFileBytes(without + "/SETUP.CFG", "x");
    struct Case {
        std::size_t count;
        SourceKind kind;
        std::string root;
        int expected;
    } cases[] = {
        {0, SourceKind::Card, withSetup, kStrMsgNoRecordingsLoaded},
        {0, SourceKind::Computer, without, kStrMsgNoRecordingsLoaded},
        {1, SourceKind::RemovableDrive, withSetup, kStrMsgNotCameraCard},
        {1, SourceKind::Computer, without, kStrMsgNotCameraCard},
        {1, SourceKind::Card, without, kStrMsgNoSetupFile},  // a name in other case is not it
        {1, SourceKind::Card, folderSetup, kStrMsgNoSetupFile},
        {1, SourceKind::Card, dir / "missing", kStrMsgNoSetupFile},
        {1, SourceKind::Card, withSetup, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CardInfoRefusal(c.count, c.kind, c.root), c.expected) << c.root;
}

TEST(CardInfoLayout, OnlyAFileNamedExactlyUserBinExtendsTheView) {
    TempDir dir;
    EXPECT_FALSE(HasUserBin(dir.path()));
    EXPECT_FALSE(HasUserBin(dir / "missing"));
    WriteFileBytes(dir / "user.bin", "");
    WriteFileBytes(dir / "USER.BIN", "");
    WriteFileBytes(dir / "User.bin.bak", "");
    EXPECT_FALSE(HasUserBin(dir.path()));
    fs::create_directory(dir / "sub");
    fs::create_directory(dir / "sub/User.bin");  // a folder of that name is no switch
    EXPECT_FALSE(HasUserBin(dir / "sub"));
    WriteFileBytes(dir / "User.bin", "");
    EXPECT_TRUE(HasUserBin(dir.path()));
}

}  // namespace
