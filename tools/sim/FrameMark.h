#pragma once
// A machine-readable mark in the top band of a picture: which channel and which frame it is.
// It survives H.264 coding, scaling to a fraction of the size, horizontal mirroring and a
// brightness offset of about +-100 on luma, so tests can tell what a screen shows.
//
// The band covers the top eighth of the picture and is split into equal cells across the full
// width: white, black (sync), 2 channel bits, 16 frame-number bits (most significant first),
// an even-parity bit, black, black. White at the right end means the picture is mirrored.

#include <cstdint>

namespace kx::sim {

inline constexpr int kFrameMarkCells = 23;

// The height of the band in a picture of `height` rows.
int FrameMarkBandHeight(int height);

// Draws the band into a luma plane. `frame` is kept modulo 65536.
void DrawFrameMark(std::uint8_t* luma, int stride, int width, int height, int channel, std::uint32_t frame);

struct FrameMark {
    bool found = false;
    int channel = -1;
    std::uint32_t frame = 0;
    bool mirrored = false;
};

// Reads the band of a luma plane or of the grayscale of an RGB picture.
FrameMark ReadFrameMark(const std::uint8_t* gray, int stride, int width, int height);

}  // namespace kx::sim
