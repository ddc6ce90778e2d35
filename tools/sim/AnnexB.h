#pragma once
// The camera's encoder writes each frame as plain NAL units, each after a 4-byte start code:
// no access unit delimiters and no SEI messages. libx264 adds both kinds, and shorter start
// codes, so its output is rewritten into the camera's form.

#include <cstdint>
#include <span>
#include <vector>

namespace kx::sim {

inline constexpr std::uint8_t kNalSei = 6;
inline constexpr std::uint8_t kNalAccessUnitDelimiter = 9;

// The NAL units of an Annex B stream, without start codes or trailing zero bytes.
std::vector<std::span<const std::uint8_t>> SplitAnnexB(std::span<const std::uint8_t> stream);

// The stream again with every SEI and access unit delimiter dropped and every unit after a
// 4-byte start code.
std::vector<std::uint8_t> CameraAnnexB(std::span<const std::uint8_t> stream);

}  // namespace kx::sim
