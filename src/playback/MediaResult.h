#pragma once
// Results of the media graph's operations, with the values the rest of the program compares
// against: 0 for success, negative codes for failures, as the media framework's callers expect.

#include <cstdint>

namespace kx {

using HResult = std::int32_t;

inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001u);
inline constexpr HResult kENoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult kEPointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult kEFileNotFound = static_cast<HResult>(0x80070002u);
inline constexpr HResult kVfwWrongState = static_cast<HResult>(0x80040227u);
inline constexpr HResult kVfwInvalidFileFormat = static_cast<HResult>(0x8004022Fu);

// NextTextPacket: one packet delivered, or no packets left.
inline constexpr HResult kTextPacketDelivered = 0;
inline constexpr HResult kNoMoreTextPackets = 38;

inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }

}  // namespace kx
