#include "settings/CardFormat.h"

#include "app/core/ProgramPaths.h"
#include "app/core/StringIds.h"
#include "card/CardDisk.h"
#include "card/VorkApi.h"
#include "settings/CardPartitioning.h"
#include "settings/CardRootFolder.h"
#include "settings/ExternalProgram.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace kx::settings {

namespace {

bool SameBytes(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    return std::equal(std::istreambuf_iterator<char>(fa), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(fb), std::istreambuf_iterator<char>());
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// One of the two files that survive the format.
struct SavedFile {
    std::string cardName;   // its name on the card
    std::string savedPath;  // its copy in the save folder
};

// Copies the card's file into the save folder, checks the copy against a second read of the
// card, and only then deletes it from the card.
bool SaveOffCard(CardRootFolder& root, const std::string& cardName, const std::string& savedPath) {
    const std::string check = savedPath + ".check";
    std::error_code ec;
    const bool copied = root.CopyOut(cardName, savedPath) && root.CopyOut(cardName, check) && SameBytes(savedPath, check);
    fs::remove(check, ec);
    if (!copied) {
        fs::remove(savedPath, ec);
        return false;
    }
    if (!root.Remove(cardName)) {
        fs::remove(savedPath, ec);  // still on the card
        return false;
    }
    return true;
}

// Copies a local file onto the card and checks it there.
bool PutOnCard(CardRootFolder& root, const std::string& localPath, const std::string& cardName) {
    const std::string check = localPath + ".check";
    std::error_code ec;
    const bool ok = root.CopyIn(localPath, cardName) && root.CopyOut(cardName, check) && SameBytes(localPath, check);
    fs::remove(check, ec);
    return ok;
}

std::unique_ptr<CardRootFolder> RootOfUnmountedDisk(const std::string& disk) {
    const auto partition = ReadFirstPartition(disk);
    if (!partition) return nullptr;
    return MakeFatCardRoot(disk, partition->firstSector * kx::card::kSectorBytes);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Why the platform cannot format this card, or "" when it can.
std::string CannotFormat(const FormatCardRequest& r) {
    if (FindProgram("mkfs.fat").empty()) return "mkfs.fat is missing (package dosfstools)";
    if (r.card.isImage) {
        if (!IsRegularFile(r.card.physicalDrivePath)) return r.card.physicalDrivePath + " is not a card image file";
        return {};
    }
    for (const CardListEntry& listed : FillCardList(r.roots, {}))
        if (listed.physicalDrivePath == r.card.physicalDrivePath && listed.partitionDevice == r.card.partitionDevice &&
            listed.rootFolder == r.card.rootFolder)
            return {};
    return r.card.physicalDrivePath + " is not a listed card";
}

}  // namespace

std::string MakeFormatSaveFolder() {
    const std::string cache = UserCacheFolder();
    if (cache.empty()) return {};
    std::error_code ec;
    fs::create_directories(cache, ec);
    std::string pattern = cache + "/card-format-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

FormatCardOutcome FormatCard(const FormatCardRequest& request, const FormatCardCallbacks& callbacks) {
    FormatCardOutcome out;
    if (!callbacks.confirm || !callbacks.confirm(kStrMsgConfirmFormat)) return out;
    out.confirmed = true;
    const CardListEntry& card = request.card;
    const std::string& disk = card.physicalDrivePath;

    // The card's root folder as it is now.
    std::unique_ptr<CardRootFolder> root;
    std::optional<std::uint64_t> oldFatOffset;
    if (card.isImage && card.imageRootFolder.empty()) {
        if (const auto p = ReadFirstPartition(disk)) oldFatOffset = p->firstSector * kx::card::kSectorBytes;
        if (oldFatOffset) root = MakeFatCardRoot(disk, *oldFatOffset);
    } else {
        root = MakeDirectoryCardRoot(card.isImage ? card.imageRootFolder : card.rootFolder);
    }

    auto note = [&](int id, std::string detail) {
        if (out.messageId == 0) out.messageId = id, out.detail = std::move(detail);
    };

    // Step 2: the two files off the card.
    std::vector<std::string> files;  // the card's root folder, "" list when it has no FAT
    if (root) {
        if (auto listed = root->ListFiles()) files = std::move(*listed);
        else root.reset();
    }
    std::optional<SavedFile> installer, setup;
    for (const std::string& name : files) {
        if (name == kInstallerName && !installer) installer = SavedFile{name, (fs::path(request.saveFolder) / kInstallerName).string()};
        if (EqualsIgnoringCase(name, kSetupFileName) && !setup)
            setup = SavedFile{name, (fs::path(request.saveFolder) / kSetupFileName).string()};
    }
    std::error_code ec;
    bool saved = true;
    if ((installer || setup) && (request.saveFolder.empty() || !fs::is_directory(request.saveFolder, ec))) {
        note(kStrMsgFormatFailed, "no folder to keep the card's files in while it is formatted");
        installer.reset(), setup.reset();
        saved = false;
    }
    for (std::optional<SavedFile>* f : {&installer, &setup}) {
        if (!saved || !*f) continue;
        if (fs::exists((*f)->savedPath, ec)) {  // never overwrite a file kept from an earlier format
            note(kStrMsgFormatFailed, (*f)->savedPath + " already exists");
            f->reset();
            saved = false;
        } else if (!SaveOffCard(*root, (*f)->cardName, (*f)->savedPath)) {
            note(kStrMsgFormatFailed, "cannot save " + (*f)->cardName + " off the card");
            f->reset();
            saved = false;
        }
    }

    if (saved) {
        // Step 3: whether this platform can format the card at all.
        std::string refusal = CannotFormat(request);
        if (refusal.empty() && !card.isImage) {
            std::string output;
            if (RunProgram({"umount", card.rootFolder}, &output) != 0)
                refusal = "cannot unmount " + card.rootFolder + (output.empty() ? std::string() : ": " + output);
            else
                root = RootOfUnmountedDisk(disk);  // its files are put back on the partition itself
        }
        if (!refusal.empty()) {
            note(kStrMsgFormatUnsupported, refusal);
        } else if (KX_Vork_Check_Vork_partition(disk.c_str()) == 0 && request.modelName.empty()) {
            // Step 4: an ordinary card, formatted as it is.
            std::string error;
            out.formatDone = FormatFirstPartitionFat32(disk, "", error);
            if (!out.formatDone) note(kStrMsgFormatFailed, error);
        } else {
            // Step 5: the camera's card.
            out.partitionResult = RepartitionCard(disk);
            if (out.partitionResult != kRepartitionDone) {
                note(kStrMsgFormatFailed, "card library result " + std::to_string(out.partitionResult));
            } else {
                out.formatDone = true;
                std::string error;
                if (FormatFirstPartitionFat32(disk, request.modelName, error)) note(kStrMsgFormatDone, "");
                else note(kStrMsgFormatNotStarted, error);
                // The new partition 1 is where the files go back.
                if (card.isImage && card.imageRootFolder.empty()) root = RootOfUnmountedDisk(disk);
                else if (!card.isImage) root = RootOfUnmountedDisk(disk);
            }
        }
    }

    // Step 6: the files back on the card.
    auto putBack = [&](const std::string& localPath, const std::string& cardName, bool savedCopy) {
        const bool ok = root && PutOnCard(*root, localPath, cardName);
        if (!savedCopy) return;
        if (ok) fs::remove(localPath, ec);
        else out.keptFiles.push_back(localPath);
    };
    if (installer) putBack(installer->savedPath, installer->cardName, true);
    else if (const fs::path fresh = fs::path(request.programFolder) / kInstallerName;
             !request.programFolder.empty() && fs::is_regular_file(fresh, ec))
        putBack(fresh.string(), kInstallerName, false);
    if (setup) putBack(setup->savedPath, setup->cardName, true);
    if (!out.keptFiles.empty()) {
        std::string kept = "The card's files are kept in ";
        kept.append(request.saveFolder).append(":");
        for (const std::string& f : out.keptFiles) kept.append(" ").append(fs::path(f).filename().string());
        if (out.messageId == 0) out.messageId = kStrMsgFormatFailed;
        out.detail = out.detail.empty() ? kept : out.detail + "\n" + kept;
    }

    // Step 7.
    if (out.messageId != 0 && callbacks.message) callbacks.message(out.messageId, out.detail);
    out.runCardRemoved = out.formatDone && request.listedByMainWindow;
    return out;
}

}  // namespace kx::settings
