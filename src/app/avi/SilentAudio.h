#pragma once
// The silent sound stream merged into recordings made without sound: 16-bit mono PCM at
// 22050 Hz in chunks of 0.1 s.

#include <array>
#include <cstdint>

namespace kx {

inline constexpr std::uint32_t kSilentListBytes = 100;       // "LIST" ... "strl" "strh" "strf"
inline constexpr std::uint32_t kSilentChunkDataBytes = 4410;  // 2205 samples of 2 bytes
inline constexpr std::uint32_t kSilentChunkBytes = 8 + kSilentChunkDataBytes;
inline constexpr std::uint32_t kSilentSamplesPerChunk = 2205;

// The stream list with its length field (samples) set to `length`.
std::array<std::uint8_t, kSilentListBytes> SilentStreamList(std::uint32_t length);

}  // namespace kx
