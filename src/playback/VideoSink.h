#pragma once
// Where a channel's pictures go: the window layer implements it for a channel window, tests
// with plain buffers. The graph calls it from its presenting thread only.

#include <cstdint>

namespace kx {

struct VideoSize {
    int width = 0;
    int height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

// One shown picture: 32-bit pixels in memory order B, G, R, A (alpha 255), rows top down. A
// picture for an empty window size has no pixels (width and height 0, pixels null) but still
// tells which moment is shown.
struct VideoPicture {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row
    const std::uint8_t* pixels = nullptr;
    double time = 0;  // the picture's time in the recording, seconds
};

class VideoSink {
public:
    virtual ~VideoSink() = default;
    // The client size of the window: pictures are stretched to fill it. An empty size means
    // nothing is visible, and the graph skips the colour conversion.
    virtual VideoSize Size() const = 0;
    // Shows a picture. The pixels are valid only during the call.
    virtual void Present(const VideoPicture& picture) = 0;
};

}  // namespace kx
