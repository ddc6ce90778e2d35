#pragma once
// Preparing a camera card: the card library re-partitions it and formats partition 2 with the
// camera's own file system; partition 1 gets a fresh FAT32 file system.

#include <cstdint>
#include <string>
#include <vector>

namespace kx::settings {

// Results of RepartitionCard.
inline constexpr int kRepartitionDone = 1000;
inline constexpr int kRepartitionNoSize = 1001;       // fewer than 2 sectors
inline constexpr int kRepartitionDeleteFailed = 1002;
inline constexpr int kRepartitionFirstFailed = 1003;  // partition 1, 100 MB
inline constexpr int kRepartitionSecondFailed = 1004; // partition 2, the rest
inline constexpr int kRepartitionFormatFailed = 1005;

inline constexpr std::uint32_t kFirstPartitionMb = 100;

// The card library's format record: count 3, then "NORMAL" 40 %, "EVENT" 20 %, "PARKING" 40 %,
// 77 bytes each (name[64], share, 0, 10000, 5).
std::vector<std::uint8_t> CardFormatLayout();

// Sector count, delete the partitions, partition 1 with 100 MB, partition 2 with
// (sectors / 2 - 100 * 1024) / 1024 MB, format partition 2. The first failing step gives its
// result (1001 to 1005) and ends the sequence; 1000 when all succeeded.
int RepartitionCard(const std::string& devicePath);

// Makes partition 1 of `disk` (a card image or a card's whole disk device, unmounted) a FAT32
// file system labelled `label` ("" for none) with mkfs.fat, at the place the disk's partition
// table gives. False when there is no partition 1 or mkfs.fat fails or is missing; `error`
// then says why.
bool FormatFirstPartitionFat32(const std::string& disk, const std::string& label, std::string& error);

}  // namespace kx::settings
