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

// A mounted block device: its name under /dev ("sdb1") and where it is mounted.
struct MountedDevice {
    std::string device;
    std::string mountPoint;
};
// The block devices of a mount table (mountinfo format), in table order.
std::vector<MountedDevice> ReadMountedDevices(const std::string& mountInfo);
// The whole disk a partition belongs to ("sdb" for "sdb1"), from sysfs; the name itself for a
// whole disk.
std::string ParentDisk(const DriveDiscoveryRoots& roots, const std::string& device);
// The first line of a (sysfs) file; empty when it cannot be read.
std::string ReadFirstLine(const std::string& path);

// The mount table's own escapes (\040 for a space, ...) undone.
std::string UnescapeMountField(const std::string& field);

}  // namespace kx
