#pragma once
// A card as a whole disk: a raw block device or a card image file, addressed in 512-byte
// sectors, with its MBR partition table.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kx::card {

inline constexpr std::uint32_t kSectorBytes = 512;
inline constexpr std::uint8_t kPartitionFat32 = 0x0C;  // FAT32 with LBA: setup.cfg, time.cfg, installer
inline constexpr std::uint8_t kPartitionVork = 0x7F;   // the camera's card file system
inline constexpr std::uint64_t kFirstPartitionSector = 2048;  // 1 MiB aligned

struct Partition {
    std::uint8_t type = 0;
    std::uint64_t firstSector = 0;
    std::uint64_t sectors = 0;
    bool used() const { return type != 0 && sectors != 0; }
};

class CardDisk {
public:
    // nullptr when the device or image cannot be opened (for writing too, when asked).
    static std::unique_ptr<CardDisk> Open(const std::string& path, bool write);
    ~CardDisk();
    CardDisk(const CardDisk&) = delete;
    CardDisk& operator=(const CardDisk&) = delete;

    std::uint64_t Bytes() const { return bytes_; }
    std::uint64_t Sectors() const { return bytes_ / kSectorBytes; }
    bool Writable() const { return writable_; }

    // Exact reads and writes inside the disk; false outside it or on an error.
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;
    bool WriteAt(std::uint64_t offset, const void* buffer, std::size_t size);
    // Up to `size` bytes; the count read.
    std::size_t ReadSome(std::uint64_t offset, void* buffer, std::size_t size) const;
    bool Sync();

    // The four MBR entries, or nothing without a valid MBR signature.
    std::optional<std::array<Partition, 4>> ReadPartitions() const;
    bool WritePartitions(const std::array<Partition, 4>& partitions);

private:
    CardDisk(int fd, std::uint64_t bytes, bool writable) : fd_(fd), bytes_(bytes), writable_(writable) {}
    int fd_;
    std::uint64_t bytes_;
    bool writable_;
};

}  // namespace kx::card
