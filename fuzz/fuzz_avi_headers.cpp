// RIFF/AVI headers: any bytes must give a clean answer, and what is reported lies in the file.
#include "app/avi/AviReader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    kx::MemoryByteSource source(data, size);
    std::string error;
    const auto info = kx::ReadAviFile(source, error);
    if (!info) return 0;
    if (info->moviEnd > size || info->streams.size() > kx::kMaxStreams) std::abort();
    if (info->indexOffset && *info->indexOffset + std::uint64_t{info->indexEntries} * 16 > size) std::abort();
    return 0;
}
