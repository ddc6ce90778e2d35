#include "card/CardFileReader.h"

#include "card/VorkApi.h"

#include <algorithm>
#include <climits>

namespace kx::card {

CardFileReader::CardFileReader(void* block, const std::string& path, int fileId)
    : block_(block), handle_(KX_Vork_File_Open(block, path.c_str(), "r", 0, 0, fileId)) {}

CardFileReader::~CardFileReader() {
    if (handle_ > 0) KX_Vork_File_Close(block_, handle_);
}

long long CardFileReader::Read(void* buffer, std::size_t size) {
    if (handle_ <= 0) return -1;
    return KX_Vork_File_Read(block_, buffer, static_cast<int>(std::min<std::size_t>(size, INT_MAX)), handle_);
}

std::unique_ptr<CardByteSource> CardByteSource::Open(void* block, const std::string& path, int fileId) {
    const int handle = KX_Vork_File_Open(block, path.c_str(), "r", 0, 0, fileId);
    std::uint64_t size = 0;
    if (handle <= 0) return nullptr;
    if (KX_Vork_File_Size(block, handle, &size) != 0) {
        KX_Vork_File_Close(block, handle);
        return nullptr;
    }
    return std::unique_ptr<CardByteSource>(new CardByteSource(block, handle, size));
}

std::unique_ptr<ByteSource> OpenCardFileBytes(std::uintptr_t context, std::int32_t locator) {
    if (context == 0 || locator <= 0) return nullptr;
    return CardByteSource::Open(reinterpret_cast<void*>(context), std::string(), locator);
}

CardByteSource::~CardByteSource() { KX_Vork_File_Close(block_, handle_); }

std::size_t CardByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    std::size_t done = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (done < size) {
        const int n = KX_Vork_File_ReadAt(block_, handle_, offset + done, out + done,
                                          static_cast<int>(std::min<std::size_t>(size - done, 1 << 30)));
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace kx::card
