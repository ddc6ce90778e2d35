#include "card/VorkApi.h"

#include "app/core/DebugLog.h"
#include "card/CardVolume.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

using namespace kx::card;

namespace {

constexpr char kBlockMagic[4] = {'K', 'X', 'V', 'B'};
constexpr int kModeWrite = 0x2;  // the open mode's write bit (the viewer passes 130: read and write)

struct OpenFile {
    CardFile file;
    std::uint64_t position = 0;
    bool writing = false;
};

struct Device {
    std::unique_ptr<CardVolume> volume;
    std::map<int, OpenFile> files;
    int nextHandle = 1;
    std::mutex mutex;
};

std::mutex g_devicesMutex;
std::map<std::int32_t, std::shared_ptr<Device>> g_devices;
std::int32_t g_nextDevice = 1;

// The device a caller's block names, or nullptr.
std::shared_ptr<Device> DeviceOf(const void* block) {
    if (!block) return nullptr;
    const auto* b = static_cast<const std::uint8_t*>(block);
    if (std::memcmp(b, kBlockMagic, 4) != 0) return nullptr;
    std::int32_t slot = 0;
    std::memcpy(&slot, b + 4, 4);
    std::lock_guard lock(g_devicesMutex);
    const auto it = g_devices.find(slot);
    return it == g_devices.end() ? nullptr : it->second;
}

// "/FOLDER/NAME" split in two.
bool SplitPath(const char* path, std::string& folder, std::string& name) {
    if (!path || path[0] != '/') return false;
    const std::string p(path + 1);
    const auto slash = p.find('/');
    if (slash == std::string::npos) return false;
    folder = p.substr(0, slash);
    name = p.substr(slash + 1);
    return !folder.empty() && !name.empty();
}

}  // namespace

extern "C" {

int KX_Vork_Start(void) { return 0; }

int KX_Vork_Stop(void) {
    std::lock_guard lock(g_devicesMutex);
    g_devices.clear();
    return 0;
}

int KX_Vork_Check_Vork_partition(const char* devicePath) {
    const auto disk = devicePath ? CardDisk::Open(devicePath, false) : nullptr;
    return disk && CardVolume::Detect(*disk) ? 1 : 0;
}

int KX_Vork_Device_Open(const char* devicePath, int mode, void* block) {
    if (!devicePath || !block) return -1;
    auto disk = CardDisk::Open(devicePath, (mode & kModeWrite) != 0);
    if (!disk && (mode & kModeWrite)) disk = CardDisk::Open(devicePath, false);  // a locked card reads
    std::string error;
    auto volume = CardVolume::Open(std::move(disk), error);
    if (!volume) {
        kx::DebugLog("card %s: %s", devicePath, error.c_str());
        return -2;
    }
    auto device = std::make_shared<Device>();
    device->volume = std::move(volume);
    std::int32_t slot;
    {
        std::lock_guard lock(g_devicesMutex);
        slot = g_nextDevice++;
        g_devices[slot] = std::move(device);
    }
    auto* b = static_cast<std::uint8_t*>(block);
    std::memset(b, 0, kVorkBlockBytes);
    std::memcpy(b, kBlockMagic, 4);
    std::memcpy(b + 4, &slot, 4);
    return 0;
}

int KX_Vork_Device_Close(void* block) {
    if (!DeviceOf(block)) return -1;
    std::int32_t slot = 0;
    std::memcpy(&slot, static_cast<const std::uint8_t*>(block) + 4, 4);
    std::lock_guard lock(g_devicesMutex);
    g_devices.erase(slot);
    std::memset(block, 0, kVorkBlockBytes);
    return 0;
}

int KX_Vork_Get_FileList(void* block, const char* folder, int* next, void* list, int) {
    const auto device = DeviceOf(block);
    if (!device || !folder || !next || !list || *next < 1) return -1;
    auto* out = static_cast<std::uint8_t*>(list);
    std::int32_t capacity = 0;
    std::memcpy(&capacity, out, 4);
    capacity = std::clamp(capacity, 0, kVorkListCapacity);
    const int f = device->volume->FolderIndex(folder);
    if (f < 0) return -1;
    int filled = 0;
    std::uint32_t index = static_cast<std::uint32_t>(*next - 1);
    for (; index < device->volume->EntryCount(f) && filled < capacity; ++index) {
        const auto file = device->volume->Entry(f, index);
        if (!file || file->name.size() >= kVorkListNameBytes) continue;
        std::uint8_t* e = out + 4 + filled * kVorkListEntryBytes;
        std::memset(e, 0, kVorkListEntryBytes);
        std::memcpy(e, file->name.data(), file->name.size());
        std::memcpy(e + kVorkListIdOffset, &file->id, 4);
        const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(file->size, 0xFFFFFFFFu));
        std::memcpy(e + kVorkListSizeOffset, &size, 4);
        ++filled;
    }
    *next = static_cast<int>(index) + 1;
    return filled;
}

int KX_Vork_File_Open(void* block, const char* path, const char* mode, int, int, int fileId) {
    const auto device = DeviceOf(block);
    if (!device || !mode || mode[0] != 'r') return -1;
    std::optional<CardFile> file = device->volume->FindById(fileId);
    std::string folder, name;
    if (SplitPath(path, folder, name)) {
        // The identifier must name the file the path names; without one the path decides.
        if (file && (file->name != name || device->volume->FolderIndex(folder) != file->folder)) file.reset();
        if (!file && fileId <= 0) file = device->volume->FindByName(device->volume->FolderIndex(folder), name);
    }
    if (!file) return -1;
    std::lock_guard lock(device->mutex);
    const int handle = device->nextHandle++;
    device->files[handle] = {*file, 0, false};
    return handle;
}

int KX_Vork_File_Read(void* block, void* buffer, int length, int handle) {
    const auto device = DeviceOf(block);
    if (!device || !buffer || length < 0) return -1;
    std::lock_guard lock(device->mutex);
    const auto it = device->files.find(handle);
    if (it == device->files.end()) return -1;
    const std::size_t n = device->volume->Read(it->second.file, it->second.position, buffer, static_cast<std::size_t>(length));
    it->second.position += n;
    return static_cast<int>(n);
}

int KX_Vork_File_ReadAt(void* block, int handle, std::uint64_t offset, void* buffer, int length) {
    const auto device = DeviceOf(block);
    if (!device || !buffer || length < 0) return -1;
    CardFile file;
    {
        std::lock_guard lock(device->mutex);
        const auto it = device->files.find(handle);
        if (it == device->files.end()) return -1;
        file = it->second.file;
    }
    return static_cast<int>(device->volume->Read(file, offset, buffer, static_cast<std::size_t>(length)));
}

int KX_Vork_File_Size(void* block, int handle, std::uint64_t* size) {
    const auto device = DeviceOf(block);
    if (!device || !size) return -1;
    std::lock_guard lock(device->mutex);
    const auto it = device->files.find(handle);
    if (it == device->files.end()) return -1;
    *size = it->second.file.size;
    return 0;
}

int KX_Vork_File_Close(void* block, int handle) {
    const auto device = DeviceOf(block);
    if (!device) return -1;
    std::lock_guard lock(device->mutex);
    return device->files.erase(handle) ? 0 : -1;
}

int KX_Vork_File_Create(void* block, const char* folder, const char* name) {
    const auto device = DeviceOf(block);
    if (!device || !folder || !name) return -1;
    std::string error;
    const auto file = device->volume->Create(device->volume->FolderIndex(folder), name, error);
    if (!file) {
        kx::DebugLog("card: cannot create /%s/%s: %s", folder, name, error.c_str());
        return -1;
    }
    std::lock_guard lock(device->mutex);
    const int handle = device->nextHandle++;
    device->files[handle] = {*file, 0, true};
    return handle;
}

int KX_Vork_File_Write(void* block, const void* buffer, int length, int handle) {
    const auto device = DeviceOf(block);
    if (!device || !buffer || length < 0) return -1;
    std::lock_guard lock(device->mutex);
    const auto it = device->files.find(handle);
    if (it == device->files.end() || !it->second.writing) return -1;
    std::string error;
    if (!device->volume->Append(it->second.file, buffer, static_cast<std::size_t>(length), error)) {
        kx::DebugLog("card: write failed: %s", error.c_str());
        return -1;
    }
    return length;
}

int KX_Vork_Get_Master_Device_Info(const char* devicePath, void* info) {
    const auto disk = devicePath && info ? CardDisk::Open(devicePath, false) : nullptr;
    if (!disk) return -1;
    const auto sectors = static_cast<std::uint32_t>(std::min<std::uint64_t>(disk->Sectors(), 0xFFFFFFFFu));
    std::memcpy(static_cast<std::uint8_t*>(info) + 12, &sectors, 4);
    return 0;
}

int KX_Vork_Delete_Partition(const char* devicePath, int) {
    const auto disk = devicePath ? CardDisk::Open(devicePath, true) : nullptr;
    if (!disk) return -1;
    std::uint8_t mbr[kSectorBytes] = {};
    disk->ReadAt(0, mbr, sizeof mbr);  // keeps a boot code, if any
    std::memset(mbr + 446, 0, 64);
    mbr[510] = 0x55;
    mbr[511] = 0xAA;
    return disk->WriteAt(0, mbr, sizeof mbr) && disk->Sync() ? 0 : -1;
}

int KX_Vork_Create_Partition(const char* devicePath, int number, std::uint32_t sizeLow, std::uint32_t sizeHigh,
                             int* start, int*) {
    const auto disk = devicePath && start ? CardDisk::Open(devicePath, true) : nullptr;
    if (!disk || (number != 1 && number != 2)) return -1;
    auto table = disk->ReadPartitions();
    if (!table) return -1;
    const std::uint64_t megabytes = std::uint64_t{sizeLow} | std::uint64_t{sizeHigh} << 32;
    const std::uint64_t first = *start <= 0 ? kFirstPartitionSector : static_cast<std::uint64_t>(*start);
    std::uint64_t sectors = megabytes * (1 << 20) / kSectorBytes;
    // Partition 2 is the rest of the card: a size reckoned from the whole card runs past its
    // end by the alignment gap before partition 1, and is cut at the end.
    if (number == 2 && first <= disk->Sectors() && sectors > disk->Sectors() - first &&
        sectors - (disk->Sectors() - first) <= kFirstPartitionSector)
        sectors = disk->Sectors() - first;
    if (sectors == 0 || first > disk->Sectors() || sectors > disk->Sectors() - first || first + sectors > 0x7FFFFFFFu)
        return -1;
    (*table)[static_cast<std::size_t>(number - 1)] = {number == 1 ? kPartitionFat32 : kPartitionVork, first, sectors};
    if (!disk->WritePartitions(*table) || !disk->Sync()) return -1;
    *start = static_cast<int>(first + sectors);
    return 0;
}

int KX_Vork_Format(const char* devicePath, const char*, int, int, const void* layout, int) {
    const auto disk = devicePath && layout ? CardDisk::Open(devicePath, true) : nullptr;
    if (!disk) return -1;
    const auto* l = static_cast<const std::uint8_t*>(layout);
    std::vector<FolderLayout> folders(std::min<std::size_t>(l[0], kMaxFolders + 1));
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::uint8_t* f = l + 1 + i * kVorkFolderLayoutBytes;
        const auto* end = static_cast<const std::uint8_t*>(std::memchr(f, 0, kNameBytes));
        folders[i].name.assign(reinterpret_cast<const char*>(f), end ? static_cast<std::size_t>(end - f) : kNameBytes);
        std::memcpy(&folders[i].sharePercent, f + 64, 4);
        std::memcpy(folders[i].kept, f + 68, 8);
        folders[i].kept[2] = f[76];
    }
    std::string error;
    if (!CardVolume::Format(*disk, folders, error)) {
        kx::DebugLog("card %s: format failed: %s", devicePath, error.c_str());
        return -1;
    }
    return 0;
}

}  // extern "C"
