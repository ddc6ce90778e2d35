#pragma once
// H.264 as the camera's encoder writes it: constant bit rate, a key frame exactly every second
// with the parameter sets in front of it, no B-frames, Annex B units with 4-byte start codes.

#include "sim/Scene.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kx::sim {

struct EncodedFrame {
    std::vector<std::uint8_t> data;
    bool key = false;
};

// The camera's bit rate for a picture size: about 8 Mbit/s at 1920x1080, in proportion to the
// area below and above, and never under 200 kbit/s.
std::int64_t CameraBitRate(int width, int height);

class H264Encoder {
public:
    H264Encoder() = default;
    ~H264Encoder();
    H264Encoder(const H264Encoder&) = delete;
    H264Encoder& operator=(const H264Encoder&) = delete;

    bool Open(int width, int height, int fps, int threads);
    // The picture to draw the next frame into.
    PicturePlanes Picture();
    // Encodes the picture as frame `index`; finished frames are appended to `out` in order.
    bool Encode(std::uint32_t index, std::deque<EncodedFrame>& out);
    // Drains the frames still inside the encoder.
    bool Flush(std::deque<EncodedFrame>& out);
    const std::string& Error() const { return error_; }

private:
    bool Send(const AVFrame* frame, std::deque<EncodedFrame>& out);
    bool Fail(const std::string& what, int code);

    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    int fps_ = 30;
    std::string error_;
};

}  // namespace kx::sim
