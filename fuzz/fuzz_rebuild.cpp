// Rebuilding from arbitrary work files: the first byte chooses a repair (with or without
// silence) or a silence merge; the rest is a recording, split into the header work file (the
// RIFF header and header list, as its size field says) and the movi work file (the rest).
// No crash, bounded time and memory, and a success always leaves a consistent file.
#include "app/avi/RecordingRebuild.h"
#include "app/avi/RiffBytes.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::string g_folder;

void WriteFile(const std::string& path, const unsigned char* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* shm = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    g_folder = std::string(shm) + "/kx480-fuzz-rebuild-" + std::to_string(getpid());
    std::filesystem::create_directories(g_folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 1) return 0;
    const unsigned mode = data[0] % 3;
    ++data;
    --size;
    std::size_t split = size;
    if (size >= 20) split = static_cast<std::size_t>(std::min<std::uint64_t>(size, 20 + std::uint64_t{kx::ReadLE32(data + 16)}));
    const std::string header = g_folder + "/h", movi = g_folder + "/m", target = g_folder + "/t.avi";
    WriteFile(header, data, split);
    WriteFile(movi, data + split, size - split);
    const std::uint32_t riff = mode == 2 ? (size >= 8 ? kx::ReadLE32(data + 4) | 1u : 1u) : 0u;
    if (kx::RebuildRecording(header, movi, target, mode == 1, riff)) {
        // What succeeded is a whole RIFF file.
        std::FILE* f = std::fopen(target.c_str(), "rb");
        unsigned char head[8];
        if (!f || std::fread(head, 1, 8, f) != 8) std::abort();
        std::fclose(f);
        if (kx::ReadLE32(head + 4) + 8ull != std::filesystem::file_size(target)) std::abort();
    } else if (std::filesystem::exists(target)) {
        std::abort();  // a failed rebuild leaves no target behind
    }
    std::filesystem::remove(target);
    return 0;
}
