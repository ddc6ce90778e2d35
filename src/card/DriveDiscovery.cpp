#include "card/DriveDiscovery.h"

#include "card/VorkApi.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace kx {

std::string ReadFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// mountinfo: id parent major:minor root mountpoint options ... - fstype source superoptions
std::vector<MountedDevice> ReadMountedDevices(const std::string& mountInfo) {
    std::vector<MountedDevice> mounts;
    std::ifstream in(mountInfo);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string id, parent, numbers, root, mountPoint, word;
        if (!(fields >> id >> parent >> numbers >> root >> mountPoint)) continue;
        while (fields >> word && word != "-") {}
        std::string type, source;
        if (!(fields >> type >> source) || source.rfind("/dev/", 0) != 0) continue;
        mounts.push_back({source.substr(5), UnescapeMountField(mountPoint)});
    }
    return mounts;
}

std::string ParentDisk(const DriveDiscoveryRoots& roots, const std::string& device) {
    std::error_code ec;
    const fs::path entry = fs::path(roots.sysBlock) / device;
    if (fs::exists(entry / "partition", ec)) {
        const fs::path resolved = fs::canonical(entry, ec);
        if (!ec) return resolved.parent_path().filename().string();
    }
    return device;
}

std::string UnescapeMountField(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

CardImageOption ParseCardImageOption(const std::string& value) {
    const auto colon = value.find(':');
    if (colon == std::string::npos) return {value, {}};
    return {value.substr(0, colon), value.substr(colon + 1)};
}

std::vector<SourceDrive> DiscoverRemovableDrives(const DriveDiscoveryRoots& roots,
                                                 const std::vector<CardImageOption>& images) {
    const std::vector<MountedDevice> mounts = ReadMountedDevices(roots.mountInfo);
    std::set<std::string> systemDisks;
    for (const MountedDevice& m : mounts)
        if (m.mountPoint == "/" || m.mountPoint == "/boot" || m.mountPoint == "/boot/efi")
            systemDisks.insert(ParentDisk(roots, m.device));

    std::vector<SourceDrive> drives;
    std::set<std::string> seenRoots;
    for (const MountedDevice& m : mounts) {
        const std::string disk = ParentDisk(roots, m.device);
        if (systemDisks.count(disk) || !seenRoots.insert(m.mountPoint).second) continue;
        if (ReadFirstLine(roots.sysBlock + "/" + disk + "/removable") != "1") continue;
        SourceDrive d;
        d.index = static_cast<int>(drives.size());
        d.root = m.mountPoint;
        d.devicePath = roots.dev + "/" + disk;
        d.kind = KX_Vork_Check_Vork_partition(d.devicePath.c_str()) ? SourceKind::Card : SourceKind::RemovableDrive;
        drives.push_back(d);
    }
    for (const CardImageOption& image : images) {
        SourceDrive d;
        d.index = static_cast<int>(drives.size());
        d.root = image.root.empty() ? image.image : image.root;
        d.devicePath = image.image;
        d.kind = KX_Vork_Check_Vork_partition(image.image.c_str()) ? SourceKind::Card : SourceKind::RemovableDrive;
        drives.push_back(d);
    }
    return drives;
}

}  // namespace kx
