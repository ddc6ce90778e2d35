#pragma once
// Little-endian fields and four-character codes of RIFF files.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace kx {

using FourCC = std::uint32_t;

constexpr FourCC MakeFourCC(const char (&s)[5]) {
    return static_cast<FourCC>(static_cast<unsigned char>(s[0])) |
           static_cast<FourCC>(static_cast<unsigned char>(s[1])) << 8 |
           static_cast<FourCC>(static_cast<unsigned char>(s[2])) << 16 |
           static_cast<FourCC>(static_cast<unsigned char>(s[3])) << 24;
}

inline std::string FourCCText(FourCC code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((code >> (8 * i)) & 0xFF);
    return s;
}

inline std::uint32_t ReadLE32(const void* p) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

inline std::uint16_t ReadLE16(const void* p) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

inline void WriteLE32(void* p, std::uint32_t v) {
    auto* b = static_cast<std::uint8_t*>(p);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline void WriteLE16(void* p, std::uint16_t v) {
    auto* b = static_cast<std::uint8_t*>(p);
    b[0] = static_cast<std::uint8_t>(v);
    b[1] = static_cast<std::uint8_t>(v >> 8);
}

// Chunk ids of the movi list: two digits of the stream number, then the type.
inline FourCC StreamChunkId(int stream, const char type[2]) {
    const char id[5] = {static_cast<char>('0' + stream / 10 % 10), static_cast<char>('0' + stream % 10),
                        type[0], type[1], 0};
    return MakeFourCC(id);
}

// The stream number of a chunk id "NNxx", or -1 when its first two characters are not digits.
inline int ChunkStream(FourCC id) {
    const int a = static_cast<int>(id & 0xFF) - '0';
    const int b = static_cast<int>((id >> 8) & 0xFF) - '0';
    if (a < 0 || a > 9 || b < 0 || b > 9) return -1;
    return a * 10 + b;
}

// The two type letters of a chunk id ("dc", "wb", "tx").
inline bool ChunkTypeIs(FourCC id, const char type[2]) {
    return static_cast<char>((id >> 16) & 0xFF) == type[0] && static_cast<char>((id >> 24) & 0xFF) == type[1];
}

inline constexpr std::uint64_t PaddedSize(std::uint32_t size) { return std::uint64_t{size} + (size & 1); }

}  // namespace kx
