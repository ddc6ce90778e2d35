// Card maintenance: the card list from the mount table and sysfs, and the card format that
// re-partitions a card, makes its partition 1 FAT32 and keeps "setup.cfg" and the installer.
// Every format here runs on card images.

#include "RunCommand.h"
#include "TempDir.h"
#include "app/core/StringIds.h"
#include "card/VorkApi.h"
#include "settings/CardFormat.h"
#include "settings/CardList.h"
#include "settings/CardPartitioning.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using namespace kx::settings;
using kx::test::ReadFileBytes;
using kx::test::RunCommand;
using kx::test::TempDir;
using kx::test::WriteFileBytes;

namespace {

constexpr std::uint64_t kFatOffset = 2048 * 512;  // partition 1 of every image made here
const std::string kSetupBytes = "Product Name            : KX480\r\nLCD Off Time            : 1\r\n";
const std::string kCardInstaller = "the installer that was on the card\n";
const std::string kProgramInstaller = "the installer of the program folder\n";

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string FatDrive(const std::string& image, std::uint64_t offset = kFatOffset) {
    return Quote(image + "@@" + std::to_string(offset));
}

bool Shell(const std::string& command) {
    return RunCommand("MTOOLS_SKIP_CHECK=1 " + command + " >/dev/null 2>&1").status == 0;
}

// The names in the FAT root folder, one per line, sorted.
std::string FatNames(const std::string& image, std::uint64_t offset = kFatOffset) {
    return RunCommand("MTOOLS_SKIP_CHECK=1 mdir -b -i " + FatDrive(image, offset) + " ::/ | sed 's|^::/||' | sort").output;
}

std::string FatFile(const std::string& image, const std::string& name, const std::string& scratch,
                    std::uint64_t offset = kFatOffset) {
    const std::string local = scratch + "/read-back";
    fs::remove(local);
    if (!Shell("mcopy -n -i " + FatDrive(image, offset) + " " + Quote("::/" + name) + " " + Quote(local))) return "<missing>";
    return ReadFileBytes(local);
}

void PutFatFile(const std::string& image, const std::string& name, const std::string& bytes, const std::string& scratch) {
    const std::string local = scratch + "/to-card";
    WriteFileBytes(local, bytes);
    ASSERT_TRUE(Shell("mcopy -o -i " + FatDrive(image) + " " + Quote(local) + " " + Quote("::/" + name)));
}

// A camera card as the camera leaves it, with our own setup.cfg and installer on partition 1.
void MakeCameraCard(const std::string& image, const std::string& scratch) {
    const auto made = RunCommand(std::string(KX_PROGRAM_DIR) + "/kx480-tool gen-card " + Quote(image) +
                                 " --size 256M --recordings 2 --seconds 1 2>&1");
    ASSERT_EQ(made.status, 0) << made.output;
    PutFatFile(image, "setup.cfg", kSetupBytes, scratch);
    PutFatFile(image, "KX480 Viewer.msi", kCardInstaller, scratch);
}

// An ordinary 64 MiB card: a 40 MB FAT32 partition 1 holding setup.cfg, the installer and
// time.cfg, no camera file system. Too small for the camera's 100 MB partition 1.
void MakeSmallCard(const std::string& image, const std::string& scratch) {
    WriteFileBytes(image, "");
    fs::resize_file(image, 64ull << 20);
    int start = 0, spare = 0;
    ASSERT_EQ(KX_Vork_Delete_Partition(image.c_str(), 7), 0);
    ASSERT_EQ(KX_Vork_Create_Partition(image.c_str(), 1, 40, 0, &start, &spare), 0);
    ASSERT_TRUE(Shell("mkfs.fat -F 32 -s 1 -n SMALL --offset 2048 " + Quote(image) + " 40960"));
    PutFatFile(image, "setup.cfg", kSetupBytes, scratch);
    PutFatFile(image, "KX480 Viewer.msi", kCardInstaller, scratch);
    PutFatFile(image, "time.cfg", "24/03/07\r\n09/05/00\r\n", scratch);
}

// `fsck.fat -n` on partition 1, cut out of the image; "" when it is clean.
std::string FsckFirstPartition(const std::string& image, const std::string& scratch, std::uint64_t sectors) {
    const std::string part = scratch + "/partition1.img";
    const auto cut = RunCommand("dd if=" + Quote(image) + " of=" + Quote(part) + " bs=512 skip=2048 count=" +
                                std::to_string(sectors) + " status=none 2>&1");
    if (cut.status != 0) return "dd: " + cut.output;
    const auto fsck = RunCommand("fsck.fat -n " + Quote(part) + " 2>&1");
    fs::remove(part);
    return fsck.status == 0 ? std::string() : fsck.output;
}

// -1 when the folder is missing, else its number of files.
int CardFolderFiles(const std::string& image, const char* folder) {
    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (KX_Vork_Device_Open(image.c_str(), 130, block.data()) != 0) return -2;
    int count = 0, next = 1;
    for (;;) {
        std::array<std::uint8_t, kVorkListBytes> list{};
        const std::int32_t capacity = kVorkListCapacity;
        std::memcpy(list.data(), &capacity, 4);
        const int n = KX_Vork_Get_FileList(block.data(), folder, &next, list.data(), 0);
        if (n < 0) count = -1;
        if (n <= 0) break;
        count += n;
    }
    KX_Vork_Device_Close(block.data());
    return count;
}

struct Recorded {
    std::vector<int> asked;
    std::vector<int> shown;
};

class CardFormatTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(programFolder);
        fs::create_directories(saveFolder);
        WriteFileBytes(programFolder + "/KX480 Viewer.msi", kProgramInstaller);
    }

    FormatCardOutcome Format(const CardListEntry& card, const std::string& model, bool answerYes = true,
                             bool listed = true) {
        FormatCardRequest r;
        r.card = card;
        r.modelName = model;
        r.programFolder = programFolder;
        r.saveFolder = saveFolder;
        r.listedByMainWindow = listed;
        r.roots = {dir / "no-mountinfo", dir / "no-sys", dir / "no-dev"};
        FormatCardCallbacks c;
        c.confirm = [this, answerYes](int id) { return record.asked.push_back(id), answerYes; };
        c.message = [this](int id, const std::string&) { record.shown.push_back(id); };
        return FormatCard(r, c);
    }

    static CardListEntry Image(const std::string& image, const std::string& root = {}) {
        const auto entries = FillCardList({"/nonexistent", "/nonexistent", "/nonexistent"}, {{image, root}});
        EXPECT_EQ(entries.size(), 1u);
        return entries.empty() ? CardListEntry{} : entries.front();
    }

    bool SaveFolderEmpty() const { return fs::is_empty(saveFolder); }

    TempDir dir;
    std::string programFolder = dir / "program";
    std::string saveFolder = dir / "saved";
    Recorded record;
};

}  // namespace

TEST(CardPartitioning, LayoutIsThreeFoldersOf77Bytes) {
    const auto layout = CardFormatLayout();
    ASSERT_EQ(layout.size(), 1u + 3 * 77);
    EXPECT_EQ(layout[0], 3);
    const std::pair<const char*, std::uint32_t> expected[] = {{"NORMAL", 40}, {"EVENT", 20}, {"PARKING", 40}};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::uint8_t* f = layout.data() + 1 + i * 77;
        EXPECT_STREQ(reinterpret_cast<const char*>(f), expected[i].first);
        EXPECT_TRUE(std::all_of(f + std::strlen(expected[i].first), f + 64, [](std::uint8_t b) { return b == 0; }));
        std::uint32_t share = 0, zero = 1, tenThousand = 0;
        std::memcpy(&share, f + 64, 4);
        std::memcpy(&zero, f + 68, 4);
        std::memcpy(&tenThousand, f + 72, 4);
        EXPECT_EQ(share, expected[i].second);
        EXPECT_EQ(zero, 0u);
        EXPECT_EQ(tenThousand, 10000u);
        EXPECT_EQ(f[76], 5);
    }
}

TEST(CardPartitioning, EachFailingStepHasItsResult) {
    TempDir dir;
    const struct {
        std::uint64_t bytes;
        int result;
    } cases[] = {
        {0, kRepartitionNoSize},              // empty image: no sectors
        {512, kRepartitionNoSize},            // one sector
        {64ull << 20, kRepartitionFirstFailed},  // no room for the 100 MB partition 1
        {256ull << 20, kRepartitionDone},
    };
    for (const auto& c : cases) {
        const std::string image = dir / "card.img";
        WriteFileBytes(image, "");
        fs::resize_file(image, c.bytes);
        EXPECT_EQ(RepartitionCard(image), c.result) << c.bytes;
    }
    EXPECT_EQ(RepartitionCard(dir / "missing.img"), kRepartitionNoSize);
}

// Whether the card had setup.cfg and the installer before the format.
struct CardFiles {
    bool setup;
    bool installer;
};

class FullFormatTest : public CardFormatTest, public ::testing::WithParamInterface<CardFiles> {};

TEST_P(FullFormatTest, CameraCardIsFreshAndKeepsItsFiles) {
    const std::string image = dir / "card.img";
    MakeCameraCard(image, dir.path());
    if (!GetParam().setup) {
        ASSERT_TRUE(Shell("mdel -i " + FatDrive(image) + " ::/setup.cfg"));
    }
    if (!GetParam().installer) {
        ASSERT_TRUE(Shell("mdel -i " + FatDrive(image) + " " + Quote("::/KX480 Viewer.msi")));
    }
    ASSERT_GT(CardFolderFiles(image, "NORMAL") + CardFolderFiles(image, "EVENT") + CardFolderFiles(image, "PARKING"), 0);

    const CardListEntry card = Image(image);
    const FormatCardOutcome out = Format(card, "KX480", true, /*listed=*/GetParam().setup);
    EXPECT_EQ(record.asked, std::vector<int>{kx::kStrMsgConfirmFormat});
    EXPECT_EQ(record.shown, std::vector<int>{kx::kStrMsgFormatDone});
    EXPECT_EQ(out.partitionResult, kRepartitionDone);
    EXPECT_TRUE(out.formatDone);
    EXPECT_EQ(out.runCardRemoved, GetParam().setup);  // only when the main window lists the card
    EXPECT_TRUE(out.keptFiles.empty());

    // The camera's file system: fresh, the three folders, nothing in them, no others.
    EXPECT_NE(KX_Vork_Check_Vork_partition(image.c_str()), 0);
    EXPECT_EQ(CardFolderFiles(image, "NORMAL"), 0);
    EXPECT_EQ(CardFolderFiles(image, "EVENT"), 0);
    EXPECT_EQ(CardFolderFiles(image, "PARKING"), 0);
    EXPECT_EQ(CardFolderFiles(image, "INFINITE"), -1);

    // Partition 1: a clean FAT32 volume labelled with the model name, holding only the kept files.
    EXPECT_EQ(FsckFirstPartition(image, dir.path(), 100 * 2048), "");
    EXPECT_EQ(Image(image).volumeLabel, "KX480");
    const std::string expectedNames = std::string("KX480 Viewer.msi\n") + (GetParam().setup ? "setup.cfg\n" : "");
    EXPECT_EQ(FatNames(image), expectedNames);
    EXPECT_EQ(FatFile(image, "KX480 Viewer.msi", dir.path()), GetParam().installer ? kCardInstaller : kProgramInstaller);
    if (GetParam().setup) {
        EXPECT_EQ(FatFile(image, "setup.cfg", dir.path()), kSetupBytes);
    }
    EXPECT_TRUE(SaveFolderEmpty());
}

INSTANTIATE_TEST_SUITE_P(CardFiles, FullFormatTest,
                         ::testing::Values(CardFiles{true, true}, CardFiles{false, false}),
                         [](const ::testing::TestParamInfo<CardFiles>& p) {
                             return std::string(p.param.setup ? "WithFiles" : "WithoutFiles");
                         });

TEST_F(CardFormatTest, NoAnswerLeavesTheCardAlone) {
    const std::string image = dir / "card.img";
    MakeSmallCard(image, dir.path());
    const std::string before = ReadFileBytes(image);
    const FormatCardOutcome out = Format(Image(image), "KX480", /*answerYes=*/false);
    EXPECT_FALSE(out.confirmed);
    EXPECT_EQ(record.asked, std::vector<int>{kx::kStrMsgConfirmFormat});
    EXPECT_TRUE(record.shown.empty());
    EXPECT_FALSE(out.runCardRemoved);
    EXPECT_TRUE(ReadFileBytes(image) == before);
    EXPECT_TRUE(SaveFolderEmpty());
}

TEST_F(CardFormatTest, OrdinaryCardWithoutModelIsFormattedAsItIs) {
    const std::string image = dir / "card.img";
    MakeSmallCard(image, dir.path());
    const FormatCardOutcome out = Format(Image(image), "");
    EXPECT_TRUE(out.formatDone);
    EXPECT_EQ(out.partitionResult, 0);  // the card library is not asked
    EXPECT_TRUE(record.shown.empty());
    EXPECT_TRUE(out.runCardRemoved);
    EXPECT_EQ(KX_Vork_Check_Vork_partition(image.c_str()), 0);
    EXPECT_EQ(FsckFirstPartition(image, dir.path(), 40 * 2048), "");
    EXPECT_EQ(FatNames(image), "KX480 Viewer.msi\nsetup.cfg\n");  // time.cfg went with the format
    EXPECT_EQ(FatFile(image, "setup.cfg", dir.path()), kSetupBytes);
    EXPECT_EQ(FatFile(image, "KX480 Viewer.msi", dir.path()), kCardInstaller);
    EXPECT_TRUE(SaveFolderEmpty());
}

TEST_F(CardFormatTest, FailedRepartitionPutsBothFilesBackOnTheOldPartition) {
    // Partition 1 of 100 MB does not fit: the partition table is already gone (1003), but the
    // old FAT partition is still where it was and the files go back there.
    const std::string image = dir / "card.img";
    MakeSmallCard(image, dir.path());
    const FormatCardOutcome out = Format(Image(image), "KX480");
    EXPECT_EQ(out.partitionResult, kRepartitionFirstFailed);
    EXPECT_EQ(record.shown, std::vector<int>{kx::kStrMsgFormatFailed});
    EXPECT_FALSE(out.formatDone);
    EXPECT_FALSE(out.runCardRemoved);
    EXPECT_EQ(FatFile(image, "setup.cfg", dir.path()), kSetupBytes);
    EXPECT_EQ(FatFile(image, "KX480 Viewer.msi", dir.path()), kCardInstaller);
    EXPECT_TRUE(out.keptFiles.empty());
    EXPECT_TRUE(SaveFolderEmpty());
}

TEST_F(CardFormatTest, ImageWithRootFolderTooSmallToPartition) {
    // IMAGE:ROOT, ROOT standing for the mounted partition 1; a one-sector image gives 1001.
    const std::string image = dir / "tiny.img";
    const std::string root = dir / "root";
    fs::create_directories(root);
    WriteFileBytes(image, std::string(512, '\0'));
    WriteFileBytes(root + "/setup.cfg", kSetupBytes);
    WriteFileBytes(root + "/KX480 Viewer.msi", kCardInstaller);
    WriteFileBytes(root + "/kx480 viewer.MSI", "not the installer: another name");
    const FormatCardOutcome out = Format(Image(image, root), "KX480");
    EXPECT_EQ(out.partitionResult, kRepartitionNoSize);
    EXPECT_EQ(record.shown, std::vector<int>{kx::kStrMsgFormatFailed});
    EXPECT_EQ(ReadFileBytes(root + "/setup.cfg"), kSetupBytes);
    EXPECT_EQ(ReadFileBytes(root + "/KX480 Viewer.msi"), kCardInstaller);
    EXPECT_EQ(ReadFileBytes(root + "/kx480 viewer.MSI"), "not the installer: another name");
    EXPECT_TRUE(SaveFolderEmpty());
}

TEST_F(CardFormatTest, FileThatCannotBeSavedStopsTheFormat) {
    // A setup.cfg left in the save folder by an earlier format is never overwritten, and the
    // card is not formatted while its own setup.cfg cannot be saved.
    const std::string image = dir / "card.img";
    MakeCameraCard(image, dir.path());
    WriteFileBytes(saveFolder + "/setup.cfg", "kept from before");
    const FormatCardOutcome out = Format(Image(image), "KX480");
    EXPECT_EQ(record.shown, std::vector<int>{kx::kStrMsgFormatFailed});
    EXPECT_EQ(out.partitionResult, 0);
    EXPECT_FALSE(out.formatDone);
    EXPECT_EQ(ReadFileBytes(saveFolder + "/setup.cfg"), "kept from before");
    EXPECT_EQ(FatFile(image, "setup.cfg", dir.path()), kSetupBytes);
    EXPECT_EQ(FatFile(image, "KX480 Viewer.msi", dir.path()), kCardInstaller);
    EXPECT_GT(CardFolderFiles(image, "NORMAL"), 0);  // the recordings are still there
}

TEST_F(CardFormatTest, DeviceThatIsNotListedIsRefused) {
    const std::string root = dir / "mnt";
    fs::create_directories(root);
    WriteFileBytes(root + "/setup.cfg", kSetupBytes);
    WriteFileBytes(dir / "sdz", std::string(1 << 20, '\0'));
    CardListEntry card;
    card.rootFolder = root;
    card.physicalDrivePath = dir / "sdz";
    card.partitionDevice = dir / "sdz1";
    const std::string before = ReadFileBytes(dir / "sdz");
    const FormatCardOutcome out = Format(card, "KX480");
    EXPECT_EQ(record.shown, std::vector<int>{kx::kStrMsgFormatUnsupported});
    EXPECT_FALSE(out.formatDone);
    EXPECT_TRUE(ReadFileBytes(dir / "sdz") == before);
    EXPECT_EQ(ReadFileBytes(root + "/setup.cfg"), kSetupBytes);
    EXPECT_EQ(ReadFileBytes(root + "/KX480 Viewer.msi"), kProgramInstaller);
    EXPECT_TRUE(SaveFolderEmpty());
}

TEST(CardList, ListsRemovableCardsBelow100GiBAndTheImages) {
    TempDir dir;
    const std::string sys = dir / "sys";
    const std::string dev = dir / "dev";
    fs::create_directories(sys + "/class/block");
    fs::create_directories(dev + "/disk/by-label");
    fs::create_directories(dev + "/disk/by-uuid");
    // disk: removable, {partition number, sectors}...
    const struct {
        const char* name;
        bool removable;
        std::uint64_t partitionSectors;
    } disks[] = {
        {"sda", true, 1ull << 24},    // holds "/" (removable by mistake)
        {"sdb", true, 16ull << 21},   // 16 GiB card
        {"sdc", true, 128ull << 21},  // 128 GiB
        {"sdd", true, 8ull << 21},    // partition 2 mounted elsewhere
        {"sde", true, 8ull << 21},    // only partition 2 mounted
        {"sdf", false, 8ull << 21},   // fixed disk
    };
    for (const auto& d : disks) {
        const std::string disk = sys + "/devices/" + d.name;
        fs::create_directories(disk);
        WriteFileBytes(disk + "/removable", d.removable ? "1\n" : "0\n");
        fs::create_directory_symlink(disk, sys + "/class/block/" + d.name);
        for (int n : {1, 2}) {
            const std::string name = d.name + std::to_string(n);
            fs::create_directories(disk + "/" + name);
            WriteFileBytes(disk + "/" + name + "/partition", std::to_string(n) + "\n");
            WriteFileBytes(disk + "/" + name + "/size", std::to_string(d.partitionSectors) + "\n");
            fs::create_directory_symlink(disk + "/" + name, sys + "/class/block/" + name);
        }
        WriteFileBytes(dev + "/" + d.name, "");
        fs::create_directories(dir / ("media/" + std::string(d.name)));
    }
    fs::create_directories(dir / "media/CARD A");
    fs::create_symlink("../../sdb1", dev + "/disk/by-label/CARD\\x20A");
    fs::create_symlink("../../sdb1", dev + "/disk/by-uuid/1A2B-3C4D");
    const std::string media = dir / "media";
    WriteFileBytes(dir / "mountinfo",
                   "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                   "30 22 8:17 / " + media + "/CARD\\040A rw,nosuid - vfat /dev/sdb1 rw\n"
                   "31 22 8:33 / " + media + "/sdc rw - vfat /dev/sdc1 rw\n"
                   "32 22 8:49 / " + media + "/sdd rw - vfat /dev/sdd1 rw\n"
                   "33 22 8:50 / /mnt/other rw - ext4 /dev/sdd2 rw\n"
                   "34 22 8:66 / " + media + "/sde rw - ext4 /dev/sde2 rw\n"
                   "35 22 8:81 / " + media + "/sdf rw - vfat /dev/sdf1 rw\n"
                   "36 22 0:5 / /proc rw - proc proc rw\n");

    const std::string image = dir / "card.img";
    MakeSmallCard(image, dir.path());
    const auto entries = FillCardList({dir / "mountinfo", sys + "/class/block", dev},
                                      {{image, {}}, {dir / "missing.img", {}}});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].rootFolder, media + "/CARD A");
    EXPECT_EQ(entries[0].driveNumber, 0);
    EXPECT_EQ(entries[0].physicalDrivePath, dev + "/sdb");
    EXPECT_EQ(entries[0].partitionDevice, dev + "/sdb1");
    EXPECT_EQ(entries[0].volumeLabel, "CARD A");
    EXPECT_EQ(entries[0].volumeSerial, 0x1A2B3C4Du);
    EXPECT_FALSE(entries[0].isImage);
    EXPECT_EQ(CardListText(entries[0]), "CARD A(" + media + "/CARD A)");

    EXPECT_TRUE(entries[1].isImage);
    EXPECT_EQ(entries[1].driveNumber, 1);
    EXPECT_EQ(entries[1].rootFolder, image);
    EXPECT_EQ(entries[1].physicalDrivePath, image);
    EXPECT_EQ(entries[1].volumeLabel, "SMALL");
    EXPECT_NE(entries[1].volumeSerial, 0u);
    EXPECT_EQ(CardListText(entries[1]), "SMALL(" + image + ")");
}
