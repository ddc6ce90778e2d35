#pragma once
// Makes recordings exactly as the camera writes them: real H.264 pictures of a drive, engine
// sound, GPS fixes and G-sensor samples in the text stream, and, on request, the file a power
// loss leaves behind. The same options and seed always give the same bytes.

#include <cstdint>
#include <optional>
#include <string>

namespace kx::sim {

enum class AudioKind { None, Aac, Pcm };

struct SimOptions {
    int channels = 2;  // 1 = front only, 2 = front and rear
    AudioKind audio = AudioKind::Aac;
    double seconds = 3;
    int fps = 30;
    int width = 320, height = 180;      // front
    int rearWidth = 0, rearHeight = 0;  // 0 = same as front
    std::string kind = "REC";           // REC EVT PRK MDI MOT
    std::string start = "2024-03-07 09:05:00";  // camera local time, "YYYY-MM-DD hh:mm:ss"
    std::optional<std::uint64_t> cut;   // leave the file unfinished, cut at this byte
    std::uint64_t seed = 1;
    bool gps = true;  // false: the receiver has no fix ('G' packets with status V, no position)
    bool gpsReceiver = true;  // false: a camera without a GPS receiver writes no 'G' packets at all
    int threads = 1;  // encoder threads; 1 keeps the output byte-identical for a seed
};

struct SimResult {
    bool ok = false;
    std::string path;
    std::string error;
};

// `target` is a file path, or an existing folder in which the file is named by the camera's rule.
SimResult GenerateRecording(const std::string& target, const SimOptions& options);

// KKK_YYYYMMDD_hhmmss_C.avi; empty when the start time cannot be read.
std::string RecordingFileName(const SimOptions& options);

// The reason the options cannot be recorded, or nothing when they can.
std::optional<std::string> ValidateOptions(const SimOptions& options);

// The number of video frames per channel the options give.
std::uint32_t FrameCount(const SimOptions& options);

}  // namespace kx::sim
