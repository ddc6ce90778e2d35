#pragma once
// Finding the removable drives a camera card may be on: mounted partitions of removable disks,
// from the mount table and sysfs. The disk that holds the system ("/" or "/boot") is never
// listed. Card images named on the command line stand for cards of their own.

#include "card/RecordingInfo.h"

#include <string>
#include <vector>

namespace kx {

struct CardImageOption {
    std::string image;  // the card image file
    std::string root;   // a folder standing for its mounted first partition, or empty
};

// Reads "--card IMAGE[:ROOT]".
CardImageOption ParseCardImageOption(const std::string& value);

struct DriveDiscoveryRoots {
    std::string mountInfo = "/proc/self/mountinfo";
    std::string sysBlock = "/sys/class/block";
    std::string dev = "/dev";  // where the disks' device nodes are
};

// The removable drives, then the card images, in that order (the computer entry is added by
// the recording source). `roots` lets tests point discovery at a fixture tree.
std::vector<SourceDrive> DiscoverRemovableDrives(const DriveDiscoveryRoots& roots,
                                                 const std::vector<CardImageOption>& images);

// The mount table's own escapes (\040 for a space, ...) undone.
std::string UnescapeMountField(const std::string& field);

}  // namespace kx
