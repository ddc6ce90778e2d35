#include "app/avi/ByteSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx {

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = fd < 0 ? std::strerror(errno) : "not a regular file";
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(fd, static_cast<std::uint64_t>(st.st_size)));
}

FileByteSource::~FileByteSource() { ::close(fd_); }

std::size_t FileByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    std::size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < size) {
        const ssize_t n = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset >= bytes_.size() || size == 0) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes_.size() - offset));
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
}

}  // namespace kx
