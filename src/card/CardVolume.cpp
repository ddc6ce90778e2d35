#include "card/CardVolume.h"

#include "app/avi/RiffBytes.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kx::card {

namespace {

constexpr char kMagic[8] = {'K', 'X', 'V', 'O', 'R', 'K', 'F', 'S'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFolderRecordBytes = 128;
constexpr std::size_t kEntryBytes = 128;
constexpr std::uint32_t kEntryInUse = 1;
constexpr std::uint64_t kFolderTableOffset = kSectorBytes;  // sector 1 of the partition
constexpr std::uint32_t kIdsPerFolder = 0x10000;           // file id = folder x 65536 + entry + 1

// Superblock fields.
constexpr std::size_t kSbVersion = 8, kSbSectorBytes = 12, kSbPartitionSectors = 16, kSbFolders = 24,
                      kSbDataStart = 28, kSbDataBytes = 36, kSbUsed = 44, kSbEntries = 52, kSbChecksum = 508;
// Folder record fields.
constexpr std::size_t kFoShare = 64, kFoKept = 68, kFoEntryTable = 80;
// Entry fields.
constexpr std::size_t kEnId = 64, kEnFlags = 68, kEnSize = 72, kEnFirst = 80, kEnCapacity = 88;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint64_t ReadLE64(const std::uint8_t* p) { return ReadLE32(p) | std::uint64_t{ReadLE32(p + 4)} << 32; }
void WriteLE64(std::uint8_t* p, std::uint64_t v) {
    WriteLE32(p, static_cast<std::uint32_t>(v));
    WriteLE32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

// A name field: the bytes up to the first zero; nothing when there is none or it is empty.
std::optional<std::string> NameField(const std::uint8_t* field) {
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(field, 0, kNameBytes));
    if (!end || end == field) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(field), static_cast<std::size_t>(end - field));
}

std::optional<Partition> VorkPartition(const CardDisk& disk) {
    const auto table = disk.ReadPartitions();
    if (!table || (*table)[1].type != kPartitionVork || !(*table)[1].used()) return std::nullopt;
    const Partition p = (*table)[1];
    if (p.firstSector > disk.Sectors() || p.sectors > disk.Sectors() - p.firstSector) return std::nullopt;
    return p;
}

std::uint64_t RoundUp(std::uint64_t v, std::uint64_t to) { return (v + to - 1) / to * to; }

}  // namespace

bool CardVolume::Detect(const CardDisk& disk) {
    const auto p = VorkPartition(disk);
    std::uint8_t sb[kSectorBytes];
    return p && disk.ReadAt(p->firstSector * kSectorBytes, sb, sizeof sb) && std::memcmp(sb, kMagic, 8) == 0 &&
           ReadLE32(sb + kSbChecksum) == Crc32(sb, kSbChecksum);
}

std::unique_ptr<CardVolume> CardVolume::Open(std::unique_ptr<CardDisk> disk, std::string& error) {
    const auto p = disk ? VorkPartition(*disk) : std::nullopt;
    if (!p) {
        error = "no card file system partition";
        return nullptr;
    }
    std::unique_ptr<CardVolume> v(new CardVolume);
    v->base_ = p->firstSector * kSectorBytes;
    v->partitionBytes_ = p->sectors * kSectorBytes;
    std::uint8_t sb[kSectorBytes];
    if (!disk->ReadAt(v->base_, sb, sizeof sb) || std::memcmp(sb, kMagic, 8) != 0 ||
        ReadLE32(sb + kSbChecksum) != Crc32(sb, kSbChecksum) || ReadLE32(sb + kSbVersion) != kVersion ||
        ReadLE32(sb + kSbSectorBytes) != kSectorBytes) {
        error = "damaged card file system: superblock";
        return nullptr;
    }
    const std::uint32_t folders = ReadLE32(sb + kSbFolders);
    v->dataStart_ = ReadLE64(sb + kSbDataStart);
    v->dataBytes_ = ReadLE64(sb + kSbDataBytes);
    v->used_ = ReadLE64(sb + kSbUsed);
    v->entriesPerFolder_ = ReadLE32(sb + kSbEntries);
    if (folders == 0 || folders > kMaxFolders || v->entriesPerFolder_ == 0 || v->entriesPerFolder_ >= kIdsPerFolder ||
        ReadLE64(sb + kSbPartitionSectors) != p->sectors || v->dataStart_ > v->partitionBytes_ ||
        v->dataBytes_ > v->partitionBytes_ - v->dataStart_ || v->used_ > v->dataBytes_) {
        error = "damaged card file system: sizes";
        return nullptr;
    }
    std::uint8_t table[kMaxFolders * kFolderRecordBytes];
    if (!disk->ReadAt(v->base_ + kFolderTableOffset, table, folders * kFolderRecordBytes)) {
        error = "damaged card file system: folder table";
        return nullptr;
    }
    const std::uint64_t tableBytes = std::uint64_t{v->entriesPerFolder_} * kEntryBytes;
    for (std::uint32_t i = 0; i < folders; ++i) {
        const std::uint8_t* f = table + i * kFolderRecordBytes;
        const auto name = NameField(f);
        const std::uint64_t entries = ReadLE64(f + kFoEntryTable);
        if (!name || entries < kFolderTableOffset + kSectorBytes || entries > v->dataStart_ ||
            tableBytes > v->dataStart_ - entries) {
            error = "damaged card file system: folder " + std::to_string(i);
            return nullptr;
        }
        FolderLayout layout{*name, ReadLE32(f + kFoShare), {ReadLE32(f + kFoKept), ReadLE32(f + kFoKept + 4), ReadLE32(f + kFoKept + 8)}};
        v->folders_.push_back(layout);
        v->entryTables_.push_back(entries);
        v->tables_.emplace_back(static_cast<std::size_t>(tableBytes));
        if (!disk->ReadAt(v->base_ + entries, v->tables_.back().data(), v->tables_.back().size())) {
            error = "damaged card file system: entries of folder " + std::to_string(i);
            return nullptr;
        }
    }
    v->disk_ = std::move(disk);
    v->folderUsed_.assign(folders, 0);
    for (std::uint32_t i = 0; i < folders; ++i)
        for (std::uint32_t k = 0; k < v->entriesPerFolder_; ++k)
            if (const auto f = v->Entry(static_cast<int>(i), k)) v->folderUsed_[i] += RoundUp(f->size, kSectorBytes);
    return v;
}

bool CardVolume::Format(CardDisk& disk, const std::vector<FolderLayout>& folders, std::string& error,
                        std::uint32_t entriesPerFolder) {
    const auto p = VorkPartition(disk);
    if (!p) {
        error = "partition 2 is not a card file system partition";
        return false;
    }
    if (folders.empty() || folders.size() > kMaxFolders || entriesPerFolder == 0 || entriesPerFolder >= kIdsPerFolder) {
        error = "a card has 1 to 8 folders of 1 to 65535 files";
        return false;
    }
    const std::uint64_t partitionBytes = p->sectors * kSectorBytes;
    const std::uint64_t tableBytes = std::uint64_t{entriesPerFolder} * kEntryBytes;
    const std::uint64_t dataStart = RoundUp(kFolderTableOffset + kSectorBytes + folders.size() * tableBytes, 4096);
    if (dataStart >= partitionBytes) {
        error = "partition 2 is too small";
        return false;
    }
    std::vector<std::uint8_t> meta(static_cast<std::size_t>(dataStart), 0);
    std::uint8_t* sb = meta.data();
    std::memcpy(sb, kMagic, 8);
    WriteLE32(sb + kSbVersion, kVersion);
    WriteLE32(sb + kSbSectorBytes, kSectorBytes);
    WriteLE64(sb + kSbPartitionSectors, p->sectors);
    WriteLE32(sb + kSbFolders, static_cast<std::uint32_t>(folders.size()));
    WriteLE64(sb + kSbDataStart, dataStart);
    WriteLE64(sb + kSbDataBytes, (partitionBytes - dataStart) / kSectorBytes * kSectorBytes);
    WriteLE64(sb + kSbUsed, 0);
    WriteLE32(sb + kSbEntries, entriesPerFolder);
    WriteLE32(sb + kSbChecksum, Crc32(sb, kSbChecksum));
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const FolderLayout& f = folders[i];
        if (f.name.empty() || f.name.size() >= kNameBytes) {
            error = "folder names have 1 to 63 bytes";
            return false;
        }
        std::uint8_t* r = meta.data() + kFolderTableOffset + i * kFolderRecordBytes;
        std::memcpy(r, f.name.data(), f.name.size());
        WriteLE32(r + kFoShare, f.sharePercent);
        for (int k = 0; k < 3; ++k) WriteLE32(r + kFoKept + 4 * k, f.kept[k]);
        WriteLE64(r + kFoEntryTable, kFolderTableOffset + kSectorBytes + i * tableBytes);
    }
    if (!disk.WriteAt(p->firstSector * kSectorBytes, meta.data(), meta.size()) || !disk.Sync()) {
        error = "cannot write to the card";
        return false;
    }
    return true;
}

int CardVolume::FolderIndex(std::string_view name) const {
    for (std::size_t i = 0; i < folders_.size(); ++i)
        if (folders_[i].name == name) return static_cast<int>(i);
    return -1;
}

std::uint32_t CardVolume::EntryCount(int folder) const {
    return folder >= 0 && static_cast<std::size_t>(folder) < folders_.size() ? entriesPerFolder_ : 0;
}

std::optional<CardFile> CardVolume::Entry(int folder, std::uint32_t index) const {
    if (folder < 0 || static_cast<std::size_t>(folder) >= folders_.size() || index >= entriesPerFolder_)
        return std::nullopt;
    std::uint8_t e[kEntryBytes];
    {
        std::lock_guard lock(mutex_);
        std::memcpy(e, tables_[static_cast<std::size_t>(folder)].data() + std::size_t{index} * kEntryBytes, kEntryBytes);
    }
    const auto name = NameField(e);
    const auto id = static_cast<std::int32_t>(ReadLE32(e + kEnId));
    const std::uint64_t size = ReadLE64(e + kEnSize);
    const std::uint64_t first = ReadLE64(e + kEnFirst);
    const std::uint64_t capacity = ReadLE64(e + kEnCapacity);
    const std::int32_t expectedId = static_cast<std::int32_t>(static_cast<std::uint32_t>(folder) * kIdsPerFolder + index + 1);
    // Free, or damaged: a wrong id, or data that would lie outside the data space.
    if (!(ReadLE32(e + kEnFlags) & kEntryInUse) || !name || id != expectedId || first > dataBytes_ ||
        capacity > dataBytes_ - first || size > capacity)
        return std::nullopt;
    return CardFile{folder, index, id, *name, size, base_ + dataStart_ + first, capacity};
}

std::optional<CardFile> CardVolume::FindById(std::int32_t id) const {
    if (id <= 0) return std::nullopt;
    const auto n = static_cast<std::uint32_t>(id - 1);
    return Entry(static_cast<int>(n / kIdsPerFolder), n % kIdsPerFolder);
}

std::optional<CardFile> CardVolume::FindByName(int folder, std::string_view name) const {
    for (std::uint32_t i = 0; i < EntryCount(folder); ++i)
        if (auto f = Entry(folder, i); f && f->name == name) return f;
    return std::nullopt;
}

std::size_t CardVolume::Read(const CardFile& file, std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset >= file.size) return 0;
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, file.size - offset));
    return disk_->ReadSome(file.firstByte + offset, buffer, size);
}

bool CardVolume::WriteEntry(const CardFile& file, bool inUse) {
    std::uint8_t e[kEntryBytes] = {};
    std::memcpy(e, file.name.data(), std::min(file.name.size(), kNameBytes - 1));
    WriteLE32(e + kEnId, static_cast<std::uint32_t>(file.id));
    WriteLE32(e + kEnFlags, inUse ? kEntryInUse : 0);
    WriteLE64(e + kEnSize, file.size);
    WriteLE64(e + kEnFirst, file.firstByte - base_ - dataStart_);
    WriteLE64(e + kEnCapacity, file.capacity);
    std::memcpy(tables_[static_cast<std::size_t>(file.folder)].data() + std::size_t{file.entry} * kEntryBytes, e, sizeof e);
    return disk_->WriteAt(base_ + entryTables_[static_cast<std::size_t>(file.folder)] + std::uint64_t{file.entry} * kEntryBytes,
                          e, sizeof e);
}

bool CardVolume::WriteSuperblock() {
    std::uint8_t sb[kSectorBytes];
    if (!disk_->ReadAt(base_, sb, sizeof sb)) return false;
    WriteLE64(sb + kSbUsed, used_);
    WriteLE32(sb + kSbChecksum, Crc32(sb, kSbChecksum));
    return disk_->WriteAt(base_, sb, sizeof sb);
}

std::optional<CardFile> CardVolume::Create(int folder, std::string_view name, std::string& error) {
    std::lock_guard lock(mutex_);
    if (!disk_->Writable()) return error = "the card is open for reading only", std::nullopt;
    if (name.empty() || name.size() >= kNameBytes || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return error = "file names have 1 to 63 bytes and no '/'", std::nullopt;
    if (EntryCount(folder) == 0) return error = "no such folder", std::nullopt;
    for (std::uint32_t i = 0; i < entriesPerFolder_; ++i) {
        const std::uint8_t* entry = tables_[static_cast<std::size_t>(folder)].data() + std::size_t{i} * kEntryBytes;
        if (ReadLE32(entry + kEnFlags) & kEntryInUse) continue;
        // The new file may take all the free space; Append trims nothing, so the next file
        // starts where this one ends.
        CardFile f{folder, i, static_cast<std::int32_t>(static_cast<std::uint32_t>(folder) * kIdsPerFolder + i + 1),
                   std::string(name), 0, base_ + dataStart_ + used_, dataBytes_ - used_};
        if (!WriteEntry(f, true)) return error = "cannot write to the card", std::nullopt;
        return f;
    }
    return error = "the folder is full", std::nullopt;
}

bool CardVolume::Append(CardFile& file, const void* data, std::size_t size, std::string& error) {
    std::lock_guard lock(mutex_);
    const std::uint64_t start = file.firstByte - base_ - dataStart_;
    if (start + RoundUp(file.size, kSectorBytes) != used_) return error = "only the newest file can grow", false;
    if (size > file.capacity - file.size) return error = "the card is full", false;
    const auto folder = static_cast<std::size_t>(file.folder);
    const std::uint32_t share = folders_[folder].sharePercent;
    const std::uint64_t grows = RoundUp(file.size + size, kSectorBytes) - RoundUp(file.size, kSectorBytes);
    if (share != 0 && folderUsed_[folder] + grows > dataBytes_ / 100 * share)
        return error = "the folder's share of the card is full", false;
    if (!disk_->WriteAt(file.firstByte + file.size, data, size)) return error = "cannot write to the card", false;
    file.size += size;
    folderUsed_[folder] += grows;
    used_ = start + RoundUp(file.size, kSectorBytes);
    file.capacity = dataBytes_ - start;
    if (!WriteEntry(file, true) || !WriteSuperblock()) return error = "cannot write to the card", false;
    return true;
}

}  // namespace kx::card
