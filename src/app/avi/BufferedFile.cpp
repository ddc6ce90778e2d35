#include "app/avi/BufferedFile.h"

#include "app/avi/RiffBytes.h"

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace kx {

namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

std::size_t PreadFully(int fd, std::uint64_t offset, void* buffer, std::size_t size) {
    std::size_t done = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (done < size) {
        const ssize_t n = ::pread(fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

constexpr std::size_t kMaxPieces = 512;
constexpr std::size_t kMaxReferencedBytes = 64 << 20;

bool WriteFully(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

BufferedReader::~BufferedReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool BufferedReader::Open(const std::string& path) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    size_ = static_cast<std::uint64_t>(st.st_size);
    position_ = bufferStart_ = 0;
    buffer_.clear();
    return true;
}

bool BufferedReader::Seek(std::uint64_t position) {
    if (position > size_) return false;
    position_ = position;
    return true;
}

std::size_t BufferedReader::Read(void* out, std::size_t size) {
    auto* dst = static_cast<std::uint8_t*>(out);
    std::size_t done = 0;
    while (done < size && position_ < size_) {
        const bool inBuffer = position_ >= bufferStart_ && position_ < bufferStart_ + buffer_.size();
        if (!inBuffer) {
            const std::size_t want = size - done;
            if (want >= kBufferBytes) {  // large reads bypass the buffer
                const std::size_t n = PreadFully(fd_, position_, dst + done, want);
                position_ += n;
                done += n;
                break;
            }
            buffer_.resize(kBufferBytes);
            buffer_.resize(PreadFully(fd_, position_, buffer_.data(), kBufferBytes));
            bufferStart_ = position_;
            if (buffer_.empty()) break;
        }
        const std::size_t at = static_cast<std::size_t>(position_ - bufferStart_);
        const std::size_t n = std::min(size - done, buffer_.size() - at);
        std::memcpy(dst + done, buffer_.data() + at, n);
        done += n;
        position_ += n;
    }
    return done;
}

std::size_t BufferedReader::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset >= size_) return 0;
    return PreadFully(fd_, offset, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset)));
}

MappedFile::~MappedFile() {
    if (data_) ::munmap(const_cast<std::uint8_t*>(data_), static_cast<std::size_t>(size_));
}

bool MappedFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    if (size_ > 0) {
        void* map = ::mmap(nullptr, static_cast<std::size_t>(size_), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map == MAP_FAILED) {
            ::close(fd);
            size_ = 0;
            return false;
        }
        ::madvise(map, static_cast<std::size_t>(size_), MADV_SEQUENTIAL);
        data_ = static_cast<const std::uint8_t*>(map);
    }
    ::close(fd);
    return true;
}

std::size_t MappedFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset >= size_ || size == 0) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(size, size_ - offset));
    std::memcpy(buffer, data_ + offset, n);
    return n;
}

BufferedWriter::~BufferedWriter() { Close(); }

bool BufferedWriter::Create(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    failed_ = fd_ < 0;
    written_ = 0;
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    pieces_.clear();
    referenced_ = 0;
    return !failed_;
}

bool BufferedWriter::Flush() {
    if (fd_ < 0) return false;
    std::vector<iovec> iov;
    iov.reserve(pieces_.size());
    for (const Piece& p : pieces_) iov.push_back({const_cast<std::uint8_t*>(p.data), p.size});
    std::size_t first = 0;
    while (!failed_ && first < iov.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(iov.size() - first, IOV_MAX));
        ssize_t n = ::writev(fd_, iov.data() + first, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            break;
        }
        // Skip what was written; a piece written in part continues from where it stopped.
        while (n > 0 && first < iov.size()) {
            const auto step = static_cast<std::size_t>(std::min<ssize_t>(n, static_cast<ssize_t>(iov[first].iov_len)));
            iov[first].iov_base = static_cast<std::uint8_t*>(iov[first].iov_base) + step;
            iov[first].iov_len -= step;
            n -= static_cast<ssize_t>(step);
            if (iov[first].iov_len == 0) ++first;
        }
    }
    buffer_.clear();
    pieces_.clear();
    referenced_ = 0;
    return !failed_;
}

bool BufferedWriter::Write(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    if (size == 0) return true;
    if (buffer_.size() + size > kBufferBytes || pieces_.size() >= kMaxPieces) {
        if (!Flush()) return false;
        if (size >= kBufferBytes) {
            if (!WriteFully(fd_, static_cast<const std::uint8_t*>(data), size)) return !(failed_ = true);
            written_ += size;
            return true;
        }
    }
    const std::size_t at = buffer_.size();
    const auto* src = static_cast<const std::uint8_t*>(data);
    buffer_.insert(buffer_.end(), src, src + size);
    // Consecutive buffered bytes extend the last piece.
    if (!pieces_.empty() && pieces_.back().data + pieces_.back().size == buffer_.data() + at)
        pieces_.back().size += size;
    else
        pieces_.push_back({buffer_.data() + at, size});
    written_ += size;
    return true;
}

bool BufferedWriter::WriteRef(const void* data, std::size_t size) {
    if (fd_ < 0 || failed_) return false;
    if (size == 0) return true;
    if ((pieces_.size() >= kMaxPieces || referenced_ + size > kMaxReferencedBytes) && !Flush()) return false;
    pieces_.push_back({static_cast<const std::uint8_t*>(data), size});
    referenced_ += size;
    written_ += size;
    return true;
}

bool BufferedWriter::WriteLE32(std::uint32_t value) {
    std::uint8_t b[4];
    kx::WriteLE32(b, value);
    return Write(b, 4);
}

bool BufferedWriter::PatchLE32(std::uint64_t offset, std::uint32_t value) {
    if (offset + 4 > written_ || !Flush()) return !(failed_ = true);
    std::uint8_t b[4];
    kx::WriteLE32(b, value);
    if (::pwrite(fd_, b, 4, static_cast<off_t>(offset)) != 4) failed_ = true;
    return !failed_;
}

bool BufferedWriter::Close() {
    if (fd_ < 0) return !failed_;
    Flush();
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return !failed_;
}

}  // namespace kx
