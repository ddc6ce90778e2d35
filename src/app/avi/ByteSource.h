#pragma once
// Random-access bytes of a recording: a file on disk, a file on a camera card read in place,
// or memory. Readers of recordings work on this interface so that nothing has to be copied
// before it is read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kx {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Total size in bytes.
    virtual std::uint64_t Size() const = 0;
    // Reads up to `size` bytes at `offset`; returns how many were read (fewer at the end,
    // 0 past it or on an error).
    virtual std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const = 0;

    // Reads exactly `size` bytes; false when fewer are there.
    bool ReadExact(std::uint64_t offset, void* buffer, std::size_t size) const {
        return ReadAt(offset, buffer, size) == size;
    }
};

// A file on disk, read with pread.
class FileByteSource final : public ByteSource {
public:
    // nullptr when the file cannot be opened; `error` then says why.
    static std::unique_ptr<FileByteSource> Open(const std::string& path, std::string* error = nullptr);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

private:
    FileByteSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    std::uint64_t size_;
};

// Bytes held in memory (tests, fuzzing, small buffers).
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace kx
