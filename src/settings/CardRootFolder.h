#pragma once
// The root folder of a card's first partition, where the camera keeps "setup.cfg" and
// "time.cfg" and the viewer its installer. It is a folder on the computer for a mounted card
// (and for a card image given as IMAGE:ROOT, where ROOT stands for the mounted partition), or
// the FAT partition inside a card image or an unmounted card, reached through mtools.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kx::settings {

class CardRootFolder {
public:
    virtual ~CardRootFolder() = default;
    // The names of the files (not folders) in the root folder; nullopt when it cannot be read.
    virtual std::optional<std::vector<std::string>> ListFiles() const = 0;
    // Copies the card's file `name` to `localPath`, replacing it. False on any error.
    virtual bool CopyOut(const std::string& name, const std::string& localPath) const = 0;
    // Copies `localPath` to the card as `name`, replacing a file of that name. False on any error.
    virtual bool CopyIn(const std::string& localPath, const std::string& name) = 0;
    // Deletes the card's file `name`. False when it could not be deleted.
    virtual bool Remove(const std::string& name) = 0;
    // Where the folder is, for messages.
    virtual std::string Describe() const = 0;
};

// A folder on the computer.
std::unique_ptr<CardRootFolder> MakeDirectoryCardRoot(const std::string& folder);

// The FAT file system that starts `offsetBytes` into `image` (a card image or a card's disk
// device), through mdir, mcopy and mdel.
std::unique_ptr<CardRootFolder> MakeFatCardRoot(const std::string& image, std::uint64_t offsetBytes);

// Partition 1 of a card image or disk from its MBR: first sector and sector count. nullopt
// when the disk cannot be read, has no MBR or no partition 1.
struct FirstPartition {
    std::uint64_t firstSector = 0;
    std::uint64_t sectors = 0;
};
std::optional<FirstPartition> ReadFirstPartition(const std::string& disk);

}  // namespace kx::settings
