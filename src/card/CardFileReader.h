#pragma once
// A recording on an open card, read through the card library: in order (for copying and for
// the rebuild's work files) or at any offset (for playing it in place).

#include "app/avi/ByteSource.h"
#include "app/avi/CardRecordingRebuild.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kx::card {

// Reads one card file from its start, in the card library's 256 KiB blocks.
class CardFileReader final : public RecordingReader {
public:
    // `block` is the open device's block; `path` "/FOLDER/NAME"; `fileId` from the file list.
    CardFileReader(void* block, const std::string& path, int fileId);
    ~CardFileReader() override;
    CardFileReader(const CardFileReader&) = delete;
    CardFileReader& operator=(const CardFileReader&) = delete;

    bool IsOpen() const { return handle_ > 0; }
    long long Read(void* buffer, std::size_t size) override;

private:
    void* block_;
    int handle_;
};

// A card file as random-access bytes, so the media graph can play it without a copy.
class CardByteSource final : public ByteSource {
public:
    // nullptr when the file cannot be opened.
    static std::unique_ptr<CardByteSource> Open(void* block, const std::string& path, int fileId);
    ~CardByteSource() override;
    CardByteSource(const CardByteSource&) = delete;
    CardByteSource& operator=(const CardByteSource&) = delete;

    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override;

private:
    CardByteSource(void* block, int handle, std::uint64_t size) : block_(block), handle_(handle), size_(size) {}
    void* block_;
    int handle_;
    std::uint64_t size_;
};

// The media graph's opener for card recordings: `context` is the open device's block and
// `locator` the file's identifier, as the graph is given them.
std::unique_ptr<ByteSource> OpenCardFileBytes(std::uintptr_t context, std::int32_t locator);

}  // namespace kx::card
