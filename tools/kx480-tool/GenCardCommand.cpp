// kx480-tool gen-card IMAGE [--size 2G] [--recordings N] [--root DIR] [--seconds S]: a camera
// card image with recordings of every kind, one and two channels, cut off and silent.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "card/VorkApi.h"
#include "sim/CameraSimulator.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

namespace fs = std::filesystem;

namespace kx::tool {

namespace {

constexpr std::uint32_t kFatPartitionMb = 100;
constexpr std::uint64_t kFatFirstSector = 2048;
const std::vector<std::pair<std::string, std::uint32_t>> kCardFolders = {
    {"NORMAL", 40}, {"EVENT", 20}, {"PARKING", 40}, {"INFINITE", 0}};

// Recordings a card holds, in turn: every kind, one and two channels, cut off and silent.
struct Recipe {
    const char* kind;
    const char* folder;
    int channels;
    sim::AudioKind audio;
    bool cut;
};
const Recipe kRecipes[] = {
    {"REC", "NORMAL", 2, sim::AudioKind::Aac, false},   {"REC", "NORMAL", 1, sim::AudioKind::Pcm, false},
    {"EVT", "EVENT", 2, sim::AudioKind::Aac, false},    {"PRK", "PARKING", 2, sim::AudioKind::None, false},
    {"REC", "NORMAL", 1, sim::AudioKind::None, false},  {"MDI", "PARKING", 1, sim::AudioKind::Aac, false},
    {"REC", "INFINITE", 2, sim::AudioKind::Aac, true},  {"MOT", "PARKING", 1, sim::AudioKind::None, true},
};

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool Run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::optional<std::uint64_t> ParseSize(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t unit = 1;
    std::string digits = text;
    switch (text.back()) {
        case 'G': case 'g': unit = 1ull << 30; digits.pop_back(); break;
        case 'M': case 'm': unit = 1ull << 20; digits.pop_back(); break;
        default: break;
    }
    const auto n = ParseWholeNumber(digits);
    if (!n || *n <= 0) return std::nullopt;
    return static_cast<std::uint64_t>(*n) * unit;
}

// The camera's settings file as it writes it with its defaults.
std::string DefaultSetupFile() {
    const char* lines[][2] = {
        {"Product Name            : ", "KX480"}, {"H/W Version             : ", "V1.0.0"},
        {"S/W Version             : ", "V1.0.3"}, {"Acc Trigger Level       : ", "3"},
        {"REC Video Qulity        : ", "3"}, {"REC Audio Enable        : ", "1"},
        {"SPK Vol                 : ", "3"}, {"Video Channles          : ", "2"},
        {"Car Battery Volt        : ", "0"}, {"Battery CutOff Volt     : ", "3"},
        {"Power Off Timer         : ", "2"}, {"LCD Off Time            : ", "1"},
    };
    std::string out;
    for (const auto& l : lines) out += std::string(l[0]) + l[1] + "\r\n";
    return out;
}

bool PartitionAndFormat(const std::string& image, std::uint64_t bytes, std::string& error) {
    std::error_code ec;
    { std::ofstream(image, std::ios::binary | std::ios::trunc); }
    fs::resize_file(image, bytes, ec);
    if (ec) return error = image + ": " + ec.message(), false;
    std::uint8_t info[64] = {};
    int start = 0, spare = 0;
    if (KX_Vork_Delete_Partition(image.c_str(), 7) != 0 || KX_Vork_Get_Master_Device_Info(image.c_str(), info) != 0)
        return error = "cannot write the partition table", false;
    std::uint32_t sectors = 0;
    std::memcpy(&sectors, info + 12, 4);
    const std::uint64_t restMb = (sectors / 2 - (kFatPartitionMb + 1) * 1024) / 1024;
    if (KX_Vork_Create_Partition(image.c_str(), 1, kFatPartitionMb, 0, &start, &spare) != 0 ||
        KX_Vork_Create_Partition(image.c_str(), 2, static_cast<std::uint32_t>(restMb),
                                 static_cast<std::uint32_t>(restMb >> 32), &start, &spare) != 0)
        return error = "cannot create the partitions (is the card large enough?)", false;
    std::vector<std::uint8_t> layout(1 + kCardFolders.size() * kVorkFolderLayoutBytes, 0);
    layout[0] = static_cast<std::uint8_t>(kCardFolders.size());
    for (std::size_t i = 0; i < kCardFolders.size(); ++i) {
        std::uint8_t* f = layout.data() + 1 + i * kVorkFolderLayoutBytes;
        std::memcpy(f, kCardFolders[i].first.data(), kCardFolders[i].first.size());
        std::memcpy(f + 64, &kCardFolders[i].second, 4);
        const std::uint32_t tenThousand = 10000;
        std::memcpy(f + 72, &tenThousand, 4);
        f[76] = 5;
    }
    if (KX_Vork_Format(image.c_str(), image.c_str(), 2, 2, layout.data(), 0) != 0)
        return error = "cannot format the recordings partition", false;
    // Partition 1: FAT32 holding the camera's settings, its clock file and the viewer's installer;
    // 512-byte clusters give the 100 MB partition enough clusters to be a proper FAT32.
    if (!Run("mkfs.fat -F 32 -s 1 -n KX480 --offset " + std::to_string(kFatFirstSector) + " " + ShellQuote(image) + " " +
             std::to_string(kFatPartitionMb * 1024)))
        return error = "mkfs.fat failed (package dosfstools)", false;
    return true;
}

bool PutFatFile(const std::string& image, const std::string& name, const std::string& bytes, const fs::path& scratch) {
    const fs::path local = scratch / name;
    { std::ofstream(local, std::ios::binary) << bytes; }
    return Run("mcopy -o -i " + ShellQuote(image + "@@" + std::to_string(kFatFirstSector * 512)) + " " +
               ShellQuote(local.string()) + " " + ShellQuote("::/" + name));
}

bool WriteToCard(void* block, const char* folder, const std::string& name, const std::string& path, std::string& error) {
    const int handle = KX_Vork_File_Create(block, folder, name.c_str());
    std::ifstream in(path, std::ios::binary);
    if (handle <= 0 || !in) return error = "cannot create /" + std::string(folder) + "/" + name + " on the card", false;
    std::vector<char> piece(1 << 20);
    while (in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto n = static_cast<int>(in.gcount());
        if (n > 0 && KX_Vork_File_Write(block, piece.data(), n, handle) != n)
            return KX_Vork_File_Close(block, handle), error = "the card is full", false;
    }
    KX_Vork_File_Close(block, handle);
    return true;
}

int GenCard(const Args& args) {
    ArgParser p(args, {"size", "recordings", "root", "seconds"}, {});
    const auto size = ParseSize(p.value("size").value_or("2G"));
    const auto count = ParseWholeNumber(p.value("recordings").value_or("8"));
    const auto seconds = ParseRealNumber(p.value("seconds").value_or("3"));
    if (!p.ok() || p.positional().size() != 1 || !size || *size < (256ull << 20) || !count || *count < 0 ||
        *count > 1000 || !seconds || *seconds <= 0) {
        std::cerr << "usage: kx480-tool gen-card IMAGE [--size 2G] [--recordings N] [--root DIR] [--seconds S]\n"
                     "       (the card is at least 256M)\n";
        return kExitFailure;
    }
    const std::string image = p.positional()[0];
    std::string error;
    KX_Vork_Start();
    if (!PartitionAndFormat(image, *size, error)) {
        std::cerr << "kx480-tool gen-card: " << error << '\n';
        return kExitFailure;
    }
    std::error_code ec;
    const fs::path scratch = fs::temp_directory_path() / ("kx480-gen-card-" + std::to_string(::getpid()));
    fs::create_directories(scratch, ec);
    const bool filesOk = PutFatFile(image, "setup.cfg", DefaultSetupFile(), scratch) &&
                         PutFatFile(image, "time.cfg", "24/03/07\r\n09/05/00\r\n", scratch) &&
                         PutFatFile(image, "KX480 Viewer.msi", "KX480 Viewer installer\n", scratch);
    if (!filesOk) error = "mcopy failed (package mtools)";

    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (error.empty() && KX_Vork_Device_Open(image.c_str(), 130, block.data()) != 0) error = "cannot open the new card";
    av_log_set_level(AV_LOG_ERROR);
    for (long long i = 0; error.empty() && i < *count; ++i) {
        const Recipe& r = kRecipes[i % std::size(kRecipes)];
        sim::SimOptions o;
        o.kind = r.kind;
        o.channels = r.channels;
        o.audio = r.audio;
        o.seconds = *seconds;
        o.seed = static_cast<std::uint64_t>(i + 1);
        char start[32];
        std::snprintf(start, sizeof start, "2024-03-07 %02lld:%02lld:00", 9 + i / 60, i % 60);
        o.start = start;
        const std::string name = sim::RecordingFileName(o);
        if (r.cut) {  // a power loss two thirds of the way through
            o.cut = std::uint64_t{1} << 40;
            const auto full = sim::GenerateRecording((scratch / name).string(), o);
            if (!full.ok) error = full.error;
            else fs::resize_file(scratch / name, fs::file_size(scratch / name) * 2 / 3, ec);
        } else if (const auto made = sim::GenerateRecording((scratch / name).string(), o); !made.ok) {
            error = made.error;
        }
        if (error.empty()) WriteToCard(block.data(), r.folder, name, (scratch / name).string(), error);
        fs::remove(scratch / name, ec);
    }
    KX_Vork_Device_Close(block.data());
    if (error.empty() && p.value("root")) {
        const std::string root = *p.value("root");
        fs::create_directories(root, ec);
        if (!Run("mcopy -n -o -i " + ShellQuote(image + "@@" + std::to_string(kFatFirstSector * 512)) + " ::/* " +
                 ShellQuote(root + "/")))
            error = "cannot extract the first partition's files into " + root;
    }
    fs::remove_all(scratch, ec);
    KX_Vork_Stop();
    if (!error.empty()) {
        std::cerr << "kx480-tool gen-card: " << error << '\n';
        return kExitFailure;
    }
    std::cout << image << '\n';
    return kExitOk;
}

}  // namespace

int GenCardCommand(const Args& args) { return GenCard(args); }

}  // namespace kx::tool
