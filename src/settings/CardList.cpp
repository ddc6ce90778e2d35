#include "settings/CardList.h"

#include "card/CardDisk.h"
#include "card/VorkApi.h"
#include "settings/CardRootFolder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/statvfs.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace kx::settings {

namespace {

using Mount = MountedDevice;

bool IsSystemFolder(const std::string& mountPoint) {
    for (const char* system : {"/", "/boot", "/boot/efi", "/usr", "/var", "/home"})
        if (mountPoint == system) return true;
    return false;
}

// "\x20" escapes of the udev link names undone.
std::string UnescapeUdevName(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

// The name of the link in <dev>/disk/<kind> that points at `device`, or "".
std::string UdevLinkFor(const DriveDiscoveryRoots& roots, const char* kind, const std::string& device) {
    std::error_code ec;
    fs::directory_iterator it(fs::path(roots.dev) / "disk" / kind, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError && target.filename() == device) return UnescapeUdevName(it->path().filename().string());
    }
    return {};
}

// A FAT volume serial "ABCD-1234"; 0 for anything else.
std::uint32_t ParseFatSerial(const std::string& uuid) {
    if (uuid.size() != 9 || uuid[4] != '-') return 0;
    const std::string hex = uuid.substr(0, 4) + uuid.substr(5);
    if (!std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) return 0;
    return static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
}

// Label and serial number from the boot sector of a FAT partition 1.
void ReadFatVolumeId(const std::string& disk, CardListEntry& entry) {
    const auto partition = ReadFirstPartition(disk);
    const auto card = partition ? card::CardDisk::Open(disk, false) : nullptr;
    std::array<char, 512> boot{};
    if (!card || !card->ReadAt(partition->firstSector * card::kSectorBytes, boot.data(), boot.size())) return;
    std::size_t serialAt = 0;
    if (std::memcmp(boot.data() + 82, "FAT32", 5) == 0) serialAt = 67;
    else if (std::memcmp(boot.data() + 54, "FAT1", 4) == 0) serialAt = 39;
    else return;
    std::memcpy(&entry.volumeSerial, boot.data() + serialAt, 4);
    std::string label(boot.data() + serialAt + 4, 11);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    entry.volumeLabel = label == "NO NAME" ? std::string() : label;
}

bool OpensForWriting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool ReadableVolume(const std::string& folder) {
    struct statvfs st {};
    return ::statvfs(folder.c_str(), &st) == 0 && st.f_bsize != 0;
}

}  // namespace

std::vector<CardListEntry> FillCardList(const DriveDiscoveryRoots& roots,
                                        const std::vector<CardImageOption>& images) {
    const std::vector<Mount> mounts = ReadMountedDevices(roots.mountInfo);
    // Every mount of every disk, in mount table order of the disks.
    std::vector<std::string> diskOrder;
    std::map<std::string, std::vector<Mount>> mountsOfDisk;
    for (const Mount& m : mounts) {
        const std::string disk = ParentDisk(roots, m.device);
        if (mountsOfDisk.count(disk) == 0) diskOrder.push_back(disk);
        mountsOfDisk[disk].push_back(m);
    }

    std::vector<CardListEntry> entries;
    for (const std::string& disk : diskOrder) {
        const std::vector<Mount>& diskMounts = mountsOfDisk[disk];
        if (std::any_of(diskMounts.begin(), diskMounts.end(), [](const Mount& m) { return IsSystemFolder(m.mountPoint); }))
            continue;
        if (ReadFirstLine((fs::path(roots.sysBlock) / disk / "removable").string()) != "1") continue;
        const auto first = std::find_if(diskMounts.begin(), diskMounts.end(), [&](const Mount& m) {
            return m.device != disk && ReadFirstLine((fs::path(roots.sysBlock) / m.device / "partition").string()) == "1";
        });
        if (first == diskMounts.end()) continue;
        // Anything else of this disk mounted elsewhere: the disk is in use for more than the card.
        if (std::any_of(diskMounts.begin(), diskMounts.end(), [&](const Mount& m) { return m.mountPoint != first->mountPoint; }))
            continue;
        const std::string sizeText = ReadFirstLine((fs::path(roots.sysBlock) / first->device / "size").string());
        if (sizeText.empty() || !std::all_of(sizeText.begin(), sizeText.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            sizeText.size() > 18)
            continue;
        const std::uint64_t bytes = std::stoull(sizeText) * 512;
        if ((bytes >> 30) >= 100) continue;

        CardListEntry e;
        e.rootFolder = first->mountPoint;
        e.physicalDrivePath = roots.dev + "/" + disk;
        e.partitionDevice = roots.dev + "/" + first->device;
        if (!OpensForWriting(e.physicalDrivePath)) continue;
        if (KX_Vork_Check_Vork_partition(e.physicalDrivePath.c_str()) == 0 && !ReadableVolume(e.rootFolder)) continue;
        e.volumeLabel = UdevLinkFor(roots, "by-label", first->device);
        e.volumeSerial = ParseFatSerial(UdevLinkFor(roots, "by-uuid", first->device));
        e.driveNumber = static_cast<int>(entries.size());
        entries.push_back(e);
    }
    for (const CardImageOption& image : images) {
        if (!OpensForWriting(image.image)) continue;
        CardListEntry e;
        e.isImage = true;
        e.physicalDrivePath = image.image;
        e.imageRootFolder = image.root;
        e.rootFolder = image.root.empty() ? image.image : image.root;
        ReadFatVolumeId(image.image, e);
        e.driveNumber = static_cast<int>(entries.size());
        entries.push_back(e);
    }
    return entries;
}

std::string CardListText(const CardListEntry& entry) { return entry.volumeLabel + "(" + entry.rootFolder + ")"; }

}  // namespace kx::settings
