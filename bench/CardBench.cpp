// source_load_vs_find: loading, sorting and filling 10,000 recordings of a folder tree /
//   `find TREE -name '*.avi' | sort` on the same tree.
// card_copy_vs_cp: copying a recording off a card image to the computer / `cp` of the same
//   number of bytes from a file. Both warm cache, best of five.
//
// usage: kx_bench_card DATA_FOLDER RECORDING

#include "BenchTiming.h"
#include "card/RecordingSource.h"
#include "card/VorkApi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A hundred days of a camera's recordings, one a minute, with the event recordings that
// start at the same moment as a normal one now and then (so the sort meets equal stamps).
void MakeTree(const fs::path& root) {
    const char* kinds[] = {"REC", "REC", "REC", "EVT", "PRK", "MDI", "MOT"};
    const char* folders[] = {"NORMAL", "EVENT", "PARKING"};
    for (int d = 0; d < 100; ++d) {
        const fs::path folder = root / ("day" + std::to_string(d)) / folders[d % 3];
        fs::create_directories(folder);
        for (int i = 0; i < 100; ++i) {
            const int minute = i % 25 == 24 ? i - 1 : i;
            char name[64];
            std::snprintf(name, sizeof name, "%s_2024%02d%02d_%02d%02d00_%d.avi", kinds[(d * 100 + i) % 7], d / 28 + 1,
                          d % 28 + 1, 8 + minute / 60, minute % 60, 1 + i % 2);
            std::ofstream(folder / name).put('x');
        }
    }
}

bool MakeCard(const std::string& image, const std::string& recording) {
    const auto bytes = fs::file_size(recording);
    { std::ofstream(image, std::ios::binary | std::ios::trunc); }
    fs::resize_file(image, bytes + (256ull << 20));
    int start = 0, spare = 0;
    const auto mb = static_cast<std::uint32_t>((bytes >> 20) + 128);
    std::vector<std::uint8_t> layout(1 + kVorkFolderLayoutBytes, 0);
    layout[0] = 1;
    std::memcpy(layout.data() + 1, "NORMAL", 6);
    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (KX_Vork_Delete_Partition(image.c_str(), 7) != 0 || KX_Vork_Create_Partition(image.c_str(), 1, 100, 0, &start, &spare) != 0 ||
        KX_Vork_Create_Partition(image.c_str(), 2, mb, 0, &start, &spare) != 0 ||
        KX_Vork_Format(image.c_str(), image.c_str(), 2, 2, layout.data(), 0) != 0 ||
        KX_Vork_Device_Open(image.c_str(), 130, block.data()) != 0)
        return false;
    const int h = KX_Vork_File_Create(block.data(), "NORMAL", fs::path(recording).filename().c_str());
    std::ifstream in(recording, std::ios::binary);
    std::vector<char> piece(1 << 20);
    while (in && h > 0) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        KX_Vork_File_Write(block.data(), piece.data(), static_cast<int>(in.gcount()), h);
    }
    KX_Vork_Device_Close(block.data());
    return h > 0;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kx_bench_card DATA_FOLDER RECORDING\n");
        return 1;
    }
    const fs::path data = argv[1];
    const std::string recording = argv[2];

    const fs::path tree = data / "tree";
    if (!fs::exists(tree / "day99")) MakeTree(tree);  // kept between runs
    std::size_t rows = 0;
    const double load = kx::bench::BestSeconds(5, [&] {
        kx::CRecordingSource source;
        source.AddExtension("AVI");
        source.DiscoverDrives();
        source.LoadSource(static_cast<int>(source.Drives().size()) - 1, {tree.string()}, false);
        kx::PlaylistFill fill;
        rows = static_cast<std::size_t>(source.FillAll(fill));
    });
    const std::string find = "find " + Quote(tree.string()) + " -name '*.avi' | sort >/dev/null";
    const double found = kx::bench::BestSeconds(5, [&] { (void)std::system(find.c_str()); });
    std::fprintf(stderr, "source: %zu rows; load %.1f ms, find|sort %.1f ms\n", rows, load * 1e3, found * 1e3);
    std::printf("source_load_vs_find %.2f\n", load / found);

    const std::string image = (data / "card-bench.img").string();
    if (!fs::exists(image) && !MakeCard(image, recording)) {
        std::fprintf(stderr, "kx_bench_card: cannot make the card image\n");
        return 1;
    }
    kx::CRecordingSource card;
    card.AddExtension("AVI");
    card.AddFolderName("NORMAL");
    card.SetDiscoveryRoots({"/nonexistent", "/nonexistent", "/dev"});
    card.SetCardImages({{image, {}}});
    card.DiscoverDrives();
    kx::PlaylistFill fill;
    if (!card.LoadSource(0) || card.FillAll(fill) != 1) {
        std::fprintf(stderr, "kx_bench_card: the card image holds no recording\n");
        return 1;
    }
    const std::string copyTarget = (data / "copied-from-card.avi").string();
    const std::string cpTarget = (data / "copied-with-cp.avi").string();
    (void)std::system(("cat " + Quote(image) + " " + Quote(recording) + " >/dev/null").c_str());
    const double copy = kx::bench::BestSeconds(5, [&] {
        fs::remove(copyTarget);
        card.CopyToComputer(0, copyTarget);
    });
    const std::string cp = "rm -f " + Quote(cpTarget) + "; cp " + Quote(recording) + " " + Quote(cpTarget);
    const double copied = kx::bench::BestSeconds(5, [&] { (void)std::system(cp.c_str()); });
    std::fprintf(stderr, "card copy: %llu bytes; copy %.1f ms, cp %.1f ms\n",
                 static_cast<unsigned long long>(fs::file_size(copyTarget)), copy * 1e3, copied * 1e3);
    fs::remove(copyTarget);
    fs::remove(cpTarget);
    std::printf("card_copy_vs_cp %.2f\n", copy / copied);
    return 0;
}
