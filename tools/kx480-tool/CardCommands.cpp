// kx480-tool card ls IMAGE [FOLDER] / card cp IMAGE FOLDER/NAME OUT: the card library as a
// user would use it.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "card/CardFileReader.h"
#include "card/VorkApi.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

namespace fs = std::filesystem;

namespace kx::tool {

namespace {

int OpenCard(const std::string& image, std::array<std::uint8_t, kVorkBlockBytes>& block) {
    KX_Vork_Start();
    if (KX_Vork_Device_Open(image.c_str(), 130, block.data()) != 0) {
        std::cout << "VORK drive cannot be opened" << std::endl;
        return kExitUnreadable;
    }
    return kExitOk;
}

int CardLs(const Args& args) {
    if (args.empty() || args.size() > 2) {
        std::cerr << "usage: kx480-tool card ls IMAGE [FOLDER]\n";
        return kExitFailure;
    }
    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (const int status = OpenCard(args[0], block); status != kExitOk) return status;
    const std::vector<std::string> folders =
        args.size() == 2 ? std::vector<std::string>{args[1]} : std::vector<std::string>{"NORMAL", "INFINITE", "EVENT", "PARKING"};
    int status = kExitOk;
    for (const std::string& folder : folders) {
        int next = 1;
        for (;;) {
            std::array<std::uint8_t, kVorkListBytes> list{};
            const std::int32_t capacity = kVorkListCapacity;
            std::memcpy(list.data(), &capacity, 4);
            const int n = KX_Vork_Get_FileList(block.data(), folder.c_str(), &next, list.data(), 0);
            if (n < 0) {
                std::cerr << "kx480-tool card ls: no folder " << folder << " on the card\n";
                status = kExitFailure;
            }
            if (n <= 0) break;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t* e = list.data() + 4 + i * kVorkListEntryBytes;
                std::int32_t id = 0;
                std::uint32_t bytes = 0;
                std::memcpy(&id, e + kVorkListIdOffset, 4);
                std::memcpy(&bytes, e + kVorkListSizeOffset, 4);
                std::printf("%s/%s\t%u\t%d\n", folder.c_str(), reinterpret_cast<const char*>(e), bytes, id);
            }
        }
    }
    KX_Vork_Device_Close(block.data());
    KX_Vork_Stop();
    return status;
}

int CardCp(const Args& args) {
    if (args.size() != 3 || args[1].find('/') == std::string::npos) {
        std::cerr << "usage: kx480-tool card cp IMAGE FOLDER/NAME OUT\n";
        return kExitFailure;
    }
    std::array<std::uint8_t, kVorkBlockBytes> block{};
    if (const int status = OpenCard(args[0], block); status != kExitOk) return status;
    const std::string out = args[2];
    const std::string partial = out + ".part";
    bool ok = false;
    {
        card::CardFileReader reader(block.data(), "/" + args[1], 0);
        std::ofstream file(reader.IsOpen() ? partial : std::string(), std::ios::binary);
        if (reader.IsOpen() && file) {
            std::vector<char> piece(kVorkCopyBlockBytes);
            ok = true;
            for (long long n; ok && (n = reader.Read(piece.data(), piece.size())) > 0;)
                ok = static_cast<bool>(file.write(piece.data(), n));
            ok = ok && static_cast<bool>(file.flush());
        }
    }
    std::error_code ec;
    if (ok) fs::rename(partial, out, ec);
    if (!ok || ec) fs::remove(partial, ec);
    KX_Vork_Device_Close(block.data());
    KX_Vork_Stop();
    if (!ok || ec) {
        std::cerr << "kx480-tool card cp: cannot copy " << args[1] << " to " << out << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace

int CardCommand(const Args& args) {
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "ls") return CardLs(rest);
    if (!args.empty() && args[0] == "cp") return CardCp(rest);
    std::cerr << "usage: kx480-tool card ls IMAGE [FOLDER] | card cp IMAGE FOLDER/NAME OUT\n";
    return kExitFailure;
}

}  // namespace kx::tool
