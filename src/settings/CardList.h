#pragma once
// The card list of the settings dialog: the removable drives a camera card may be in, and the
// card images named with --card, each with the entry the format works on.

#include "card/DriveDiscovery.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kx::settings {

struct CardListEntry {
    std::string rootFolder;         // mount point of the card's first partition; for an image
                                    // its ROOT folder, or the image path when it has none
    int driveNumber = 0;            // position in the list
    std::string physicalDrivePath;  // the card's whole disk ("/dev/sdb") or the card image
    std::uint32_t volumeSerial = 0; // FAT volume serial number, 0 when unknown
    std::string volumeLabel;        // "" when the volume has none or it is unknown
    std::string partitionDevice;    // the mounted first partition ("/dev/sdb1"); "" for an image
    bool isImage = false;           // a card image from --card
    std::string imageRootFolder;    // ROOT of --card IMAGE:ROOT, else ""

    bool operator==(const CardListEntry&) const = default;
};

// The entries, removable drives first (mount table order), then the card images. A drive is
// listed when its disk is removable, the disk's first partition is mounted, that volume is
// below 100 GiB, the disk device opens for reading and writing, and the card carries the
// camera's file system or its mounted folder is readable. Never listed: the disk that holds
// "/", "/boot", "/usr", "/var" or "/home", a disk with any partition mounted somewhere other
// than the first partition's mount point, and a disk whose first partition is not mounted.
// A card image is listed when it opens for reading and writing; its label and serial number
// are read from the FAT boot sector of its partition 1.
// Labels and serial numbers of drives come from <dev>/disk/by-label and <dev>/disk/by-uuid.
std::vector<CardListEntry> FillCardList(const DriveDiscoveryRoots& roots,
                                        const std::vector<CardImageOption>& images);

// The list text: "%s(%s)" with the volume label and the root folder.
std::string CardListText(const CardListEntry& entry);

}  // namespace kx::settings
