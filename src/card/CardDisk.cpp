#include "card/CardDisk.h"

#include "app/avi/RiffBytes.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx::card {

namespace {
constexpr std::size_t kPartitionTable = 446;
constexpr std::size_t kEntryBytes = 16;
}  // namespace

std::unique_ptr<CardDisk> CardDisk::Open(const std::string& path, bool write) {
    const int fd = ::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    std::uint64_t bytes = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        bytes = static_cast<std::uint64_t>(st.st_size);
    } else if (::fstat(fd, &st) != 0 || !S_ISBLK(st.st_mode) || ::ioctl(fd, BLKGETSIZE64, &bytes) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<CardDisk>(new CardDisk(fd, bytes, write));
}

CardDisk::~CardDisk() { ::close(fd_); }

std::size_t CardDisk::ReadSome(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset >= bytes_) return 0;
    if (size > bytes_ - offset) size = static_cast<std::size_t>(bytes_ - offset);
    std::size_t done = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (done < size) {
        const ssize_t n = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

bool CardDisk::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    return offset <= bytes_ && size <= bytes_ - offset && ReadSome(offset, buffer, size) == size;
}

bool CardDisk::WriteAt(std::uint64_t offset, const void* buffer, std::size_t size) {
    if (!writable_ || offset > bytes_ || size > bytes_ - offset) return false;
    std::size_t done = 0;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    while (done < size) {
        const ssize_t n = ::pwrite(fd_, in + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool CardDisk::Sync() { return !writable_ || ::fsync(fd_) == 0; }

std::optional<std::array<Partition, 4>> CardDisk::ReadPartitions() const {
    std::uint8_t mbr[kSectorBytes];
    if (!ReadAt(0, mbr, sizeof mbr) || mbr[510] != 0x55 || mbr[511] != 0xAA) return std::nullopt;
    std::array<Partition, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::uint8_t* e = mbr + kPartitionTable + i * kEntryBytes;
        out[i] = {e[4], ReadLE32(e + 8), ReadLE32(e + 12)};
    }
    return out;
}

bool CardDisk::WritePartitions(const std::array<Partition, 4>& partitions) {
    std::uint8_t mbr[kSectorBytes];
    if (!ReadAt(0, mbr, sizeof mbr)) return false;
    std::memset(mbr + kPartitionTable, 0, 4 * kEntryBytes);
    for (std::size_t i = 0; i < 4; ++i) {
        const Partition& p = partitions[i];
        if (!p.used()) continue;
        if (p.firstSector > 0xFFFFFFFFu || p.sectors > 0xFFFFFFFFu) return false;
        std::uint8_t* e = mbr + kPartitionTable + i * kEntryBytes;
        // CHS fields say "use LBA" (0xFE 0xFF 0xFF), as for any disk over 8 GB.
        e[1] = e[5] = 0xFE;
        e[2] = e[3] = e[6] = e[7] = 0xFF;
        e[4] = p.type;
        WriteLE32(e + 8, static_cast<std::uint32_t>(p.firstSector));
        WriteLE32(e + 12, static_cast<std::uint32_t>(p.sectors));
    }
    mbr[510] = 0x55;
    mbr[511] = 0xAA;
    return WriteAt(0, mbr, sizeof mbr);
}

}  // namespace kx::card
