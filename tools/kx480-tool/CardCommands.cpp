// kx480-tool card ls IMAGE [FOLDER] / card cp IMAGE FOLDER/NAME OUT / card format IMAGE
// [--label NAME]: the card library and the card format as a user would use them.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "app/core/LanguageTable.h"
#include "app/core/ProgramPaths.h"
#include "app/core/StringIds.h"
#include "card/CardFileReader.h"
#include "card/VorkApi.h"
#include "settings/CardFormat.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sys/stat.h>
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

// Formats a card image as the settings dialog formats a card, answering Yes to its question.
int CardFormat(const Args& args) {
    ArgParser p(args, {"label", "program-folder"}, {});
    if (!p.ok() || p.positional().size() != 1) {
        std::cerr << "usage: kx480-tool card format IMAGE [--label NAME] [--program-folder DIR]\n";
        return kExitFailure;
    }
    const std::string image = p.positional()[0];
    struct stat st {};
    if (::stat(image.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::cerr << "kx480-tool card format: " << image << " is not a card image file (devices are formatted from the viewer)\n";
        return kExitFailure;
    }
    const auto entries = settings::FillCardList({"/nonexistent", "/nonexistent", "/dev"}, {{image, {}}});
    if (entries.empty()) {
        std::cerr << "kx480-tool card format: cannot open " << image << " for writing\n";
        return kExitFailure;
    }
    TheViewerOptions().languageIndex = 0;  // message texts from the English table
    LoadLanguageLibrary(TheViewerOptions());

    settings::FormatCardRequest request;
    request.card = entries.front();
    request.modelName = p.value("label").value_or("");
    request.programFolder = p.value("program-folder").value_or(ProgramFolder());
    request.saveFolder = settings::MakeFormatSaveFolder();
    settings::FormatCardCallbacks callbacks;
    callbacks.confirm = [](int) { return true; };
    callbacks.message = [](int id, const std::string& detail) {
        const auto text = LanguageString(id);
        std::cout << (text && !text->empty() ? *text : "string " + std::to_string(id)) << '\n';
        if (!detail.empty()) std::cerr << "kx480-tool card format: " << detail << '\n';
    };
    KX_Vork_Start();
    const settings::FormatCardOutcome outcome = settings::FormatCard(request, callbacks);
    KX_Vork_Stop();
    std::error_code ec;
    if (!request.saveFolder.empty()) fs::remove(request.saveFolder, ec);  // only when nothing was left in it
    std::cout << "message=" << outcome.messageId << " partition=" << outcome.partitionResult
              << " done=" << (outcome.formatDone ? 1 : 0) << '\n';
    return outcome.formatDone && outcome.messageId == kStrMsgFormatDone ? kExitOk : kExitFailure;
}

}  // namespace

int CardCommand(const Args& args) {
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "ls") return CardLs(rest);
    if (!args.empty() && args[0] == "cp") return CardCp(rest);
    if (!args.empty() && args[0] == "format") return CardFormat(rest);
    std::cerr << "usage: kx480-tool card ls IMAGE [FOLDER] | card cp IMAGE FOLDER/NAME OUT | card format IMAGE [--label NAME]\n";
    return kExitFailure;
}

}  // namespace kx::tool
