// The card library as the viewer and the camera simulator use it: partitioning and formatting
// a card image, writing and listing recordings, reading them in order and at any offset, and
// refusing damaged cards.

#include "card/VorkApi.h"
#include "card/CardFileReader.h"
#include "card/CardVolume.h"

#include "SmallAvi.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

using namespace kx::test;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kImageBytes = 64ull << 20;

std::vector<std::uint8_t> Layout(const std::vector<std::pair<std::string, std::uint32_t>>& folders) {
    std::vector<std::uint8_t> l(1 + folders.size() * kVorkFolderLayoutBytes, 0);
    l[0] = static_cast<std::uint8_t>(folders.size());
    for (std::size_t i = 0; i < folders.size(); ++i) {
        std::uint8_t* f = l.data() + 1 + i * kVorkFolderLayoutBytes;
        std::memcpy(f, folders[i].first.data(), folders[i].first.size());
        std::memcpy(f + 64, &folders[i].second, 4);
        const std::uint32_t tenThousand = 10000;
        std::memcpy(f + 72, &tenThousand, 4);
        f[76] = 5;
    }
    return l;
}

// Partitions and formats an empty image as the camera's card: 16 MB FAT32, the rest for
// recordings.
void MakeCard(const std::string& path) {
    fs::resize_file(path, 0);
    fs::resize_file(path, kImageBytes);
    ASSERT_EQ(KX_Vork_Delete_Partition(path.c_str(), 7), 0);
    int start = 0, spare = 0;
    ASSERT_EQ(KX_Vork_Create_Partition(path.c_str(), 1, 16, 0, &start, &spare), 0);
    EXPECT_EQ(start, 2048 + 16 * 2048);
    std::uint8_t info[64] = {};
    ASSERT_EQ(KX_Vork_Get_Master_Device_Info(path.c_str(), info), 0);
    std::uint32_t sectors = 0;
    std::memcpy(&sectors, info + 12, 4);
    EXPECT_EQ(sectors, kImageBytes / 512);
    const std::uint32_t restMb = static_cast<std::uint32_t>((sectors / 2 - 17 * 1024) / 1024);
    ASSERT_EQ(KX_Vork_Create_Partition(path.c_str(), 2, restMb, 0, &start, &spare), 0);
    const auto layout = Layout({{"NORMAL", 40}, {"EVENT", 20}, {"PARKING", 40}, {"INFINITE", 0}});
    ASSERT_EQ(KX_Vork_Format(path.c_str(), path.c_str(), 2, 2, layout.data(), 0), 0);
}

struct Listed {
    std::string name;
    std::int32_t id;
    std::uint32_t size;
};

std::vector<Listed> List(void* block, const char* folder) {
    std::vector<Listed> out;
    int next = 1;
    for (;;) {
        std::array<std::uint8_t, kVorkListBytes> list{};
        const std::int32_t capacity = kVorkListCapacity;
        std::memcpy(list.data(), &capacity, 4);
        const int n = KX_Vork_Get_FileList(block, folder, &next, list.data(), 0);
        if (n <= 0) break;
        for (int i = 0; i < n; ++i) {
            const std::uint8_t* e = list.data() + 4 + i * kVorkListEntryBytes;
            Listed l{reinterpret_cast<const char*>(e), 0, 0};
            std::memcpy(&l.id, e + kVorkListIdOffset, 4);
            std::memcpy(&l.size, e + kVorkListSizeOffset, 4);
            out.push_back(l);
        }
    }
    return out;
}

std::string Pattern(std::size_t size, int seed) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + static_cast<std::size_t>(seed) * 7) % 251);
    return s;
}

class CardTest : public ::testing::Test {
protected:
    void SetUp() override {
        KX_Vork_Start();
        image = dir / "card.img";
        WriteFileBytes(image, "");
        MakeCard(image);
    }
    void TearDown() override { KX_Vork_Stop(); }

    int Write(void* block, const char* folder, const char* name, const std::string& data) {
        const int h = KX_Vork_File_Create(block, folder, name);
        EXPECT_GT(h, 0);
        for (std::size_t at = 0; at < data.size(); at += 100000) {
            const int n = static_cast<int>(std::min<std::size_t>(100000, data.size() - at));
            EXPECT_EQ(KX_Vork_File_Write(block, data.data() + at, n, h), n);
        }
        return h;
    }

    TempDir dir;
    std::string image;
};

TEST_F(CardTest, AFormattedCardIsRecognisedAndListsItsRecordingsPerFolder) {
    EXPECT_EQ(KX_Vork_Check_Vork_partition(image.c_str()), 1);
    std::uint8_t block[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    const std::string a = Pattern(250001, 1), b = Pattern(3000, 2), c = Pattern(0, 3);
    KX_Vork_File_Close(block, Write(block, "NORMAL", "REC_20240307_090500_2.avi", a));
    KX_Vork_File_Close(block, Write(block, "EVENT", "EVT_20240307_090600_1.avi", b));
    KX_Vork_File_Close(block, Write(block, "NORMAL", "REC_20240307_090700_1.avi", c));
    for (int i = 0; i < 40; ++i)  // more than one list call's worth
        KX_Vork_File_Close(block, Write(block, "PARKING", ("PRK_20240307_10" + std::to_string(1000 + i) + "_1.avi").c_str(), "x"));

    const auto normal = List(block, "NORMAL");
    ASSERT_EQ(normal.size(), 2u);
    EXPECT_EQ(normal[0].name, "REC_20240307_090500_2.avi");
    EXPECT_EQ(normal[0].size, 250001u);
    EXPECT_EQ(normal[1].size, 0u);
    EXPECT_NE(normal[0].id, normal[1].id);
    EXPECT_GT(normal[0].id, 0);
    EXPECT_EQ(List(block, "EVENT").size(), 1u);
    EXPECT_EQ(List(block, "PARKING").size(), 40u);
    EXPECT_TRUE(List(block, "INFINITE").empty());
    int next = 1;
    std::array<std::uint8_t, kVorkListBytes> list{};
    EXPECT_LT(KX_Vork_Get_FileList(block, "NOSUCH", &next, list.data(), 0), 0);

    // Reading in 256 KiB blocks until the read ends gives the bytes written.
    const int h = KX_Vork_File_Open(block, "/NORMAL/REC_20240307_090500_2.avi", "r", 0, 0, normal[0].id);
    ASSERT_GT(h, 0);
    std::string got;
    std::vector<char> buf(kVorkCopyBlockBytes);
    for (int n; (n = KX_Vork_File_Read(block, buf.data(), kVorkCopyBlockBytes, h)) > 0;) got.append(buf.data(), static_cast<std::size_t>(n));
    EXPECT_TRUE(got == a) << got.size();
    char at[10];
    EXPECT_EQ(KX_Vork_File_ReadAt(block, h, 250000, at, 10), 1);
    EXPECT_EQ(at[0], a[250000]);
    std::uint64_t size = 0;
    EXPECT_EQ(KX_Vork_File_Size(block, h, &size), 0);
    EXPECT_EQ(size, 250001u);
    EXPECT_EQ(KX_Vork_File_Close(block, h), 0);
    EXPECT_LT(KX_Vork_File_Read(block, buf.data(), 10, h), 0);

    // A path that does not match the identifier opens nothing; without one the path decides.
    EXPECT_LT(KX_Vork_File_Open(block, "/EVENT/REC_20240307_090500_2.avi", "r", 0, 0, normal[0].id), 0);
    EXPECT_GT(KX_Vork_File_Open(block, "/EVENT/EVT_20240307_090600_1.avi", "r", 0, 0, 0), 0);
    EXPECT_EQ(KX_Vork_Device_Close(block), 0);
    EXPECT_LT(KX_Vork_File_Open(block, "/EVENT/EVT_20240307_090600_1.avi", "r", 0, 0, 0), 0);  // closed
}

TEST_F(CardTest, ACardFileReadsInPlaceByItsIdentifier) {
    std::uint8_t block[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    const std::string data = Pattern(700001, 9);
    KX_Vork_File_Close(block, Write(block, "EVENT", "EVT_20240307_090600_1.avi", data));
    const auto files = List(block, "EVENT");
    ASSERT_EQ(files.size(), 1u);
    const auto bytes = kx::card::OpenCardFileBytes(reinterpret_cast<std::uintptr_t>(block), files[0].id);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->Size(), data.size());
    std::string middle(1000, '\0');
    EXPECT_TRUE(bytes->ReadExact(350000, middle.data(), middle.size()));
    EXPECT_TRUE(middle == data.substr(350000, 1000));
    EXPECT_EQ(bytes->ReadAt(data.size() - 5, middle.data(), 100), 5u);
    EXPECT_FALSE(kx::card::OpenCardFileBytes(reinterpret_cast<std::uintptr_t>(block), files[0].id + 1));
    EXPECT_FALSE(kx::card::OpenCardFileBytes(0, files[0].id));
    KX_Vork_Device_Close(block);
}

TEST_F(CardTest, ACutOffCardRecordingIsRebuiltFromTheCard) {
    WriteSmallAvi(dir / "REC_20240307_090500_1.avi", {.videoStreams = 1, .frames = 12, .finish = false});
    std::uint8_t block[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    KX_Vork_File_Close(block, Write(block, "NORMAL", "REC_20240307_090500_1.avi",
                                    ReadFileBytes(dir / "REC_20240307_090500_1.avi")));
    const auto files = List(block, "NORMAL");
    ASSERT_EQ(files.size(), 1u);
    kx::card::CardFileReader reader(block, "/NORMAL/" + files[0].name, files[0].id);
    ASSERT_TRUE(reader.IsOpen());
    const auto prepared = kx::PrepareCardRecording(reader, files[0].name, dir / "temp");
    ASSERT_EQ(prepared.play, kx::PreparedRecording::Play::Rebuilt) << prepared.error;
    EXPECT_EQ(prepared.path, dir / "temp/REC_20240307_090500_1.avi_REPAIR.avi");
    const std::string rebuilt = ReadFileBytes(prepared.path);
    ASSERT_GT(rebuilt.size(), 12u);
    EXPECT_EQ(kx::ReadLE32(rebuilt.data() + 4) + 8u, rebuilt.size());
    EXPECT_EQ(kx::ReadLE32(rebuilt.data() + 48), 12u);  // every frame kept
    KX_Vork_Device_Close(block);
}

TEST_F(CardTest, WritesRespectNamesAndFolderShares) {
    std::uint8_t block[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    EXPECT_LT(KX_Vork_File_Create(block, "NORMAL", std::string(64, 'a').c_str()), 0);  // 63 bytes at most
    EXPECT_LT(KX_Vork_File_Create(block, "NORMAL", "a/b.avi"), 0);
    EXPECT_LT(KX_Vork_File_Create(block, "NOSUCH", "a.avi"), 0);
    EXPECT_GT(KX_Vork_File_Create(block, "NORMAL", std::string(63, 'a').c_str()), 0);
    // EVENT may fill a fifth of the data space, no more.
    const int h = KX_Vork_File_Create(block, "EVENT", "EVT_big.avi");
    const std::string mb(1 << 20, 'e');
    int written = 0;
    while (KX_Vork_File_Write(block, mb.data(), static_cast<int>(mb.size()), h) > 0) ++written;
    EXPECT_GT(written, 5);
    EXPECT_LT(written, 13);
    KX_Vork_Device_Close(block);

    // A read-only open still reads.
    fs::permissions(image, fs::perms::owner_read, fs::perm_options::replace);
    std::uint8_t ro[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, ro), 0);
    EXPECT_EQ(List(ro, "EVENT").size(), 1u);
    KX_Vork_Device_Close(ro);
}

TEST_F(CardTest, AnUnclosedFileKeepsWhatWasWritten) {
    std::uint8_t block[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    Write(block, "NORMAL", "REC_cut.avi", Pattern(5000, 4));  // never closed: a power loss
    KX_Vork_Stop();
    KX_Vork_Start();
    std::uint8_t again[kVorkBlockBytes] = {};
    ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, again), 0);
    const auto files = List(again, "NORMAL");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].size, 5000u);
}

TEST_F(CardTest, DamagedCardsAreRefusedNeverReadOutside) {
    {
        std::uint8_t block[kVorkBlockBytes] = {};
        ASSERT_EQ(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
        KX_Vork_File_Close(block, Write(block, "NORMAL", "REC_a.avi", Pattern(7000, 5)));
        KX_Vork_Device_Close(block);
    }
    const std::string good = ReadFileBytes(image);
    const auto table = kx::card::CardDisk::Open(image, false)->ReadPartitions();
    const std::size_t part2 = static_cast<std::size_t>((*table)[1].firstSector * 512);
    // Every 32-bit field of the MBR's table, the superblock, the folder table and the first
    // entry set to 0, to all ones and to a value past the image.
    std::vector<std::size_t> fields;
    for (std::size_t at = 446; at < 510; at += 4) fields.push_back(at);
    for (std::size_t at = 0; at < 64; at += 4) fields.push_back(part2 + at);
    for (std::size_t at = 512; at < 512 + 4 * 128; at += 4) fields.push_back(part2 + at);
    std::uint64_t entryTable = 0;
    std::memcpy(&entryTable, good.data() + part2 + 512 + 80, 8);
    for (std::size_t at = 0; at < 128; at += 4) fields.push_back(part2 + static_cast<std::size_t>(entryTable) + at);
    const auto patch = [&](std::size_t at, const void* bytes) {
        std::fstream f(image, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(static_cast<std::streamoff>(at));
        f.write(static_cast<const char*>(bytes), 4);
    };
    for (const std::size_t at : fields) {
        for (const std::uint32_t value : {0u, 0xFFFFFFFFu, static_cast<std::uint32_t>(kImageBytes / 2)}) {
            patch(at, &value);
            struct Restore {
                std::function<void()> f;
                ~Restore() { f(); }
            } restore{[&] { patch(at, good.data() + at); }};
            std::uint8_t block[kVorkBlockBytes] = {};
            if (KX_Vork_Device_Open(image.c_str(), 130, block) != 0) continue;
            for (const char* folder : {"NORMAL", "EVENT", "PARKING", "INFINITE"}) {
                for (const Listed& f : List(block, folder)) {
                    const int h = KX_Vork_File_Open(block, ("/" + std::string(folder) + "/" + f.name).c_str(), "r", 0, 0, f.id);
                    if (h <= 0) continue;
                    std::vector<char> buf(kVorkCopyBlockBytes);
                    std::uint64_t total = 0;
                    for (int n; (n = KX_Vork_File_Read(block, buf.data(), kVorkCopyBlockBytes, h)) > 0;) total += static_cast<std::uint64_t>(n);
                    EXPECT_LE(total, kImageBytes) << "field " << at;
                    KX_Vork_File_Close(block, h);
                }
            }
            KX_Vork_Device_Close(block);
        }
    }
    WriteFileBytes(image, std::string(100, 'x'));
    std::uint8_t block[kVorkBlockBytes] = {};
    EXPECT_NE(KX_Vork_Device_Open(image.c_str(), 130, block), 0);
    EXPECT_EQ(KX_Vork_Check_Vork_partition(image.c_str()), 0);
    EXPECT_EQ(KX_Vork_Check_Vork_partition((dir / "missing.img").c_str()), 0);
}

}  // namespace
