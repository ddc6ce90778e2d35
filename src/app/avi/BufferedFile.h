#pragma once
// Sequential file reading and writing through one large buffer, so that streaming a recording
// chunk by chunk costs a system call per megabyte rather than per chunk.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kx {

class BufferedReader {
public:
    BufferedReader() = default;
    ~BufferedReader();
    BufferedReader(const BufferedReader&) = delete;
    BufferedReader& operator=(const BufferedReader&) = delete;

    bool Open(const std::string& path);
    std::uint64_t Size() const { return size_; }
    std::uint64_t Position() const { return position_; }
    // Moves to an absolute position (not past the end).
    bool Seek(std::uint64_t position);
    // Reads up to `size` bytes; returns how many were read.
    std::size_t Read(void* buffer, std::size_t size);
    // Reads exactly `size` bytes; false (position unspecified) when fewer are there.
    bool ReadExact(void* buffer, std::size_t size) { return Read(buffer, size) == size; }
    // Reads at an absolute position without moving the sequential position.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;     // logical position
    std::uint64_t bufferStart_ = 0;  // file offset of buffer_[0]
    std::vector<std::uint8_t> buffer_;
};

// A file mapped into memory for reading, so that its bytes can be handed on without copying.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool Open(const std::string& path);
    std::uint64_t Size() const { return size_; }
    const std::uint8_t* Data() const { return data_; }
    // Exact-or-less copy at `offset`, like a read.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    const std::uint8_t* data_ = nullptr;
    std::uint64_t size_ = 0;
};

// Writes through one buffer, and can also write bytes that stay where they are (WriteRef):
// those are gathered with the buffered ones and written by one writev, saving a copy.
class BufferedWriter {
public:
    BufferedWriter() = default;
    ~BufferedWriter();
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    // Creates or truncates the file.
    bool Create(const std::string& path);
    bool Write(const void* data, std::size_t size);
    // Writes `size` bytes that must stay valid and unchanged until the next Flush (done by
    // PatchLE32, Close, or when enough is gathered).
    bool WriteRef(const void* data, std::size_t size);
    bool WriteLE32(std::uint32_t value);
    // Overwrites 4 bytes at an absolute position already written.
    bool PatchLE32(std::uint64_t offset, std::uint32_t value);
    std::uint64_t Position() const { return written_; }
    // Flushes and closes; false when anything failed since Create.
    bool Close();
    bool Failed() const { return failed_; }

private:
    bool Flush();
    int fd_ = -1;
    bool failed_ = false;
    std::uint64_t written_ = 0;
    std::vector<std::uint8_t> buffer_;  // never grows past its reserved size, so pieces stay put
    struct Piece {
        const std::uint8_t* data;
        std::size_t size;
    };
    std::vector<Piece> pieces_;  // in file order: parts of buffer_ and referenced bytes
    std::size_t referenced_ = 0;
};

}  // namespace kx
