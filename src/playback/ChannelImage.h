#pragma once
// A still picture of a channel as a capture takes it: the channel's own size, 32-bit pixels in
// memory order B, G, R, A, rows top down, no padding.

#include <cstdint>
#include <vector>

namespace kx {

struct ChannelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width x height x 4 bytes
};

}  // namespace kx
