// A card image of arbitrary bytes (a small MBR and file system around the input): opening,
// listing every folder and reading every file must stay inside the image.
#include "card/VorkApi.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {
std::string g_image;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* shm = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    g_image = std::string(shm) + "/kx480-fuzz-card-" + std::to_string(getpid()) + ".img";
    KX_Vork_Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::FILE* f = std::fopen(g_image.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (KX_Vork_Check_Vork_partition(g_image.c_str()) < 0) std::abort();
    if (KX_Vork_Device_Open(g_image.c_str(), 0, block.data()) != 0) return 0;
    for (const char* folder : {"NORMAL", "INFINITE", "EVENT", "PARKING"}) {
        int next = 1;
        for (int calls = 0; calls < 200; ++calls) {
            std::array<std::uint8_t, kVorkListBytes> list{};
            const std::int32_t capacity = kVorkListCapacity;
            std::memcpy(list.data(), &capacity, 4);
            const int n = KX_Vork_Get_FileList(block.data(), folder, &next, list.data(), 0);
            if (n <= 0) break;
            if (n > kVorkListCapacity) std::abort();
            for (int i = 0; i < n; ++i) {
                const std::uint8_t* e = list.data() + 4 + i * kVorkListEntryBytes;
                std::int32_t id = 0;
                std::memcpy(&id, e + kVorkListIdOffset, 4);
                const int h = KX_Vork_File_Open(block.data(), (std::string("/") + folder + "/" + reinterpret_cast<const char*>(e)).c_str(), "r", 0, 0, id);
                if (h <= 0) continue;
                std::array<char, 4096> buf{};
                std::uint64_t total = 0;
                for (int r; (r = KX_Vork_File_Read(block.data(), buf.data(), static_cast<int>(buf.size()), h)) > 0;) {
                    total += static_cast<std::uint64_t>(r);
                    if (total > size) std::abort();  // never more than the image holds
                }
                KX_Vork_File_Close(block.data(), h);
            }
        }
    }
    KX_Vork_Device_Close(block.data());
    return 0;
}
