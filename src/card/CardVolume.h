#pragma once
// The camera's card file system on partition 2: a superblock, a table of folders, per folder a
// table of file entries, and the files' data in contiguous runs of sectors. See
// docs/card-format.md.

#include "card/CardDisk.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::card {

inline constexpr std::size_t kMaxFolders = 8;
inline constexpr std::size_t kNameBytes = 64;  // names are at most 63 bytes and a terminating zero
inline constexpr std::uint32_t kEntriesPerFolder = 4096;

struct FolderLayout {
    std::string name;
    std::uint32_t sharePercent = 0;  // of the data space; 0: no limit of its own
    std::uint32_t kept[3] = {0, 10000, 5};  // values the format layout carries, kept as given
};

struct CardFile {
    int folder = -1;
    std::uint32_t entry = 0;
    std::int32_t id = 0;  // above 0
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t firstByte = 0;  // on the disk
    std::uint64_t capacity = 0;   // bytes reserved for it
};

class CardVolume {
public:
    // Reads and checks the file system on partition 2 of `disk`; nullptr with `error` set when
    // the disk carries none or a damaged one.
    static std::unique_ptr<CardVolume> Open(std::unique_ptr<CardDisk> disk, std::string& error);
    // True when partition 2 carries this file system (superblock checked).
    static bool Detect(const CardDisk& disk);
    // Writes an empty file system with `folders` on partition 2, each with room for
    // `entriesPerFolder` files (1 to 65535).
    static bool Format(CardDisk& disk, const std::vector<FolderLayout>& folders, std::string& error,
                       std::uint32_t entriesPerFolder = kEntriesPerFolder);

    int FolderIndex(std::string_view name) const;
    const std::vector<FolderLayout>& Folders() const { return folders_; }

    // The file of entry `index` of a folder, or nothing for a free or damaged entry.
    std::optional<CardFile> Entry(int folder, std::uint32_t index) const;
    std::uint32_t EntryCount(int folder) const;
    std::optional<CardFile> FindById(std::int32_t id) const;
    std::optional<CardFile> FindByName(int folder, std::string_view name) const;

    // Up to `size` bytes of a file at `offset`; the count read.
    std::size_t Read(const CardFile& file, std::uint64_t offset, void* buffer, std::size_t size) const;

    // Writing: one new file at a time, at the end of the used space.
    std::optional<CardFile> Create(int folder, std::string_view name, std::string& error);
    bool Append(CardFile& file, const void* data, std::size_t size, std::string& error);
    const CardDisk& Disk() const { return *disk_; }

private:
    CardVolume() = default;
    bool WriteEntry(const CardFile& file, bool inUse);
    bool WriteSuperblock();

    std::unique_ptr<CardDisk> disk_;
    std::uint64_t base_ = 0;         // partition 2's first byte
    std::uint64_t partitionBytes_ = 0;
    std::uint64_t dataStart_ = 0;    // bytes from base_
    std::uint64_t dataBytes_ = 0;
    std::uint64_t used_ = 0;         // data bytes allocated so far
    std::uint32_t entriesPerFolder_ = kEntriesPerFolder;
    std::vector<FolderLayout> folders_;
    std::vector<std::uint64_t> entryTables_;  // bytes from base_
    std::vector<std::vector<std::uint8_t>> tables_;  // each folder's entry table, as on the card
    std::vector<std::uint64_t> folderUsed_;          // data bytes of each folder's files
    mutable std::mutex mutex_;
};

}  // namespace kx::card
