// Loading recordings the way the viewer does: drives found in a fixture mount table, folder
// scans, chosen and dropped files, names and sort order, the playlist rows and kind filters,
// and copying to the computer.

#include "card/RecordingSource.h"

#include "app/core/LanguageTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx;
using namespace kx::test;
namespace fs = std::filesystem;

namespace {

void Touch(const std::string& path, std::size_t bytes = 0) {
    fs::create_directories(fs::path(path).parent_path());
    WriteFileBytes(path, std::string(bytes, 'r'));
}

class SourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        source.AddExtension("AVI");
        for (const char* folder : {"NORMAL", "INFINITE", "EVENT", "PARKING"}) source.AddFolderName(folder);
        TheViewerOptions().languageIndex = 0;
        LoadLanguageLibrary(TheViewerOptions());
    }
    TempDir dir;
    CRecordingSource source;
};

TEST_F(SourceTest, ListsOnlyMountedRemovableDisksThatDoNotHoldTheSystem) {
    // Fixture: sda (system, removable by mistake), sdb (removable card reader), sdc (fixed).
    const std::string sys = dir / "sys";
    for (const char* d : {"sda", "sdb", "sdc"}) Touch(sys + "/devices/" + d + "/removable");
    WriteFileBytes(sys + "/devices/sda/removable", "1\n");
    WriteFileBytes(sys + "/devices/sdb/removable", "1\n");
    WriteFileBytes(sys + "/devices/sdc/removable", "0\n");
    fs::create_directories(sys + "/class/block");
    for (const char* d : {"sda", "sdb", "sdc"}) {
        fs::create_directory_symlink(sys + "/devices/" + d, sys + "/class/block/" + d);
        const std::string part = sys + "/devices/" + d + "/" + d + "1";
        Touch(part + "/partition");
        fs::create_directory_symlink(part, sys + "/class/block/" + std::string(d) + "1");
    }
    WriteFileBytes(dir / "mountinfo",
                   "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "30 22 8:17 / /media/kim/CARD\\040A rw,nosuid - vfat /dev/sdb1 rw\n"
                   "31 22 8:33 / /mnt/data rw - ext4 /dev/sdc1 rw\n"
                   "32 22 0:5 / /proc rw - proc proc rw\n");
    source.SetDiscoveryRoots({dir / "mountinfo", sys + "/class/block", dir / "dev"});
    source.SetCardImages({ParseCardImageOption(dir / "card.img:" + dir / "root")});
    ASSERT_EQ(source.DiscoverDrives(), 3);
    const auto& d = source.Drives();
    EXPECT_EQ(d[0].root, "/media/kim/CARD A");
    EXPECT_EQ(d[0].devicePath, dir / "dev/sdb");
    EXPECT_EQ(d[0].kind, SourceKind::RemovableDrive);
    EXPECT_EQ(d[1].root, dir / "root");
    EXPECT_EQ(d[1].devicePath, dir / "card.img");
    EXPECT_EQ(d[2].root, kComputerEntryName);
    EXPECT_EQ(d[2].kind, SourceKind::Computer);
}

TEST_F(SourceTest, LoadsFoldersWithSubfoldersAndSortsByTheTimeInTheName) {
    const std::string root = dir / "drive";
    Touch(root + "/NORMAL/REC_20120305_143000_2.avi", 4096);
    Touch(root + "/EVENT/deeper/EVT_20120305_142959_1.AVI", 2048);
    Touch(root + "/PARKING/PRK_20120305_143000_2.avi", 1024);  // same stamp, smaller: first
    Touch(root + "/PARKING/MOT_20110101_000000_1.avi.bak");
    Touch(root + "/notes.txt");
    source.SetDiscoveryRoots({dir / "none", dir / "none", dir / "none"});
    source.DiscoverDrives();
    ASSERT_TRUE(source.LoadSource(0, {root}, true));
    const auto& r = source.Recordings();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].name, "EVT_20120305_142959_1.AVI");
    EXPECT_EQ(r[1].name, "PRK_20120305_143000_2.avi");
    EXPECT_EQ(r[2].name, "REC_20120305_143000_2.avi");
    EXPECT_EQ(r[2].time.year, 2012);
    EXPECT_EQ(r[2].time.month, 3);
    EXPECT_EQ(r[2].time.day, 5);
    EXPECT_EQ(r[2].time.hour, 14);
    EXPECT_EQ(r[2].time.minute, 30);
    EXPECT_EQ(source.SizeKbOf(r[2]), 4u);
    EXPECT_EQ(r[2].group, 1);
    EXPECT_EQ(r[2].cardFileId, -1);
}

TEST_F(SourceTest, ChosenFilesGetTheExtensionAndAMissingOneStopsTheLoad) {
    Touch(dir / "a/REC_20240101_000000_1.avi");
    Touch(dir / "a/EVT_20240101_000001_1.avi");
    source.DiscoverDrives();
    const int computer = static_cast<int>(source.Drives().size()) - 1;
    EXPECT_TRUE(source.LoadSource(computer, {dir / "a/REC_20240101_000000_1", dir / "a/EVT_20240101_000001_1.avi"}, false));
    EXPECT_EQ(source.Recordings().size(), 2u);
    EXPECT_EQ(source.Roots().back(), dir / "a/EVT_20240101_000001_1.avi");
    EXPECT_FALSE(source.LoadSource(computer, {dir / "a/EVT_20240101_000001_1.avi", dir / "a/missing.avi"}, true));
    EXPECT_EQ(source.Recordings().size(), 1u);  // what was loaded stays
    EXPECT_FALSE(source.LoadSource(-1));
    EXPECT_FALSE(source.LoadSource(99));
}

TEST_F(SourceTest, FillsThePlaylistWithKindsAndFiltersThem) {
    for (const char* n : {"REC_20240101_000000_2.avi", "EVT_20240101_000001_2.avi", "PRK_20240101_000002_1.avi",
                          "MDI_20240101_000003_1.avi", "MOT_20240101_000004_1.avi", "ABC_20240101_000005_1.avi"})
        Touch(dir / std::string("f/") + n);
    source.DiscoverDrives();
    ASSERT_TRUE(source.LoadSource(static_cast<int>(source.Drives().size()) - 1, {dir / "f"}, true));
    PlaylistFill fill;
    ASSERT_EQ(source.FillAll(fill), 6);
    EXPECT_TRUE(fill.any && fill.normal && fill.event && fill.parking);
    EXPECT_EQ(fill.rows[0].number, "1");
    EXPECT_EQ(fill.rows[0].date, "2024-01-01");
    EXPECT_EQ(fill.rows[0].time, "00:00:00");
    EXPECT_EQ(fill.rows[0].kind, *LanguageString(133));
    EXPECT_EQ(fill.rows[3].kind, *LanguageString(210));
    EXPECT_EQ(fill.rows[5].kind, "UnKnown");
    EXPECT_EQ(fill.rows[5].fullPath, dir / "f/ABC_20240101_000005_1.avi");
    EXPECT_EQ(source.FillKind(RecordingKind::Parking, fill), 3);  // PRK, MDI and MOT together
    EXPECT_EQ(fill.rows[2].name, "MOT_20240101_000004_1.avi");
    EXPECT_EQ(fill.rows[2].number, "3");
    EXPECT_EQ(source.RowRecording(2)->name, "MOT_20240101_000004_1.avi");
    EXPECT_EQ(source.RowRecording(3), nullptr);
    EXPECT_EQ(source.FillKind(RecordingKind::Unknown, fill), 1);
}

TEST_F(SourceTest, CopiesAFileAndLeavesNoPartialTargetOnFailure) {
    Touch(dir / "f/REC_20240101_000000_2.avi", 5000);
    source.DiscoverDrives();
    ASSERT_TRUE(source.LoadSource(static_cast<int>(source.Drives().size()) - 1, {dir / "f"}, true));
    PlaylistFill fill;
    source.FillAll(fill);
    EXPECT_EQ(source.DefaultCopyName(0), "REC_20240101_000000_2.avi");
    EXPECT_EQ(source.CopyToComputer(0, dir / "out.avi"), kCopied);
    EXPECT_EQ(fs::file_size(dir / "out.avi"), 5000u);
    EXPECT_EQ(source.CopyToComputer(0, dir / "f/REC_20240101_000000_2.avi"), kCopyFailed);  // onto itself
    EXPECT_EQ(source.CopyToComputer(0, dir / "no/such/folder/x.avi"), kCopyFailed);
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(source.CopyToComputer(7, dir / "x.avi"), kCopyFailed);
}

}  // namespace
