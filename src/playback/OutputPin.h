#pragma once
// An output pin of the parse stage: one stream of the recording as the graph's stages see it.
// Pins are told apart by name: a name containing "Video" is a camera channel (one per
// channel, in channel order), "Audio" the sound, "Text" the telemetry packets.

#include "app/avi/RiffBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

enum class PinMedia { Video, Audio, Text };

struct OutputPin {
    std::string name;
    PinMedia media = PinMedia::Text;
    int stream = 0;  // the stream's number in the file
    // Time units of the stream: one video frame, or one block of sound, lasts scale / rate s.
    std::uint32_t scale = 1;
    std::uint32_t rate = 0;
    std::uint32_t sampleSize = 0;  // bytes per block of constant-rate sound; 0: one block per chunk
    std::uint64_t chunks = 0;      // chunks found in the movi list (frames of a video pin)

    // Video: the BITMAPINFOHEADER's compression and size.
    FourCC compression = 0;
    int width = 0;
    int height = 0;

    // Sound: the WAVEFORMATEX fields and the codec's configuration bytes after it.
    std::uint16_t formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::uint8_t> codecConfig;
    // The first media type the pin offers has the PCM subtype.
    bool pcm = false;

    double UnitSeconds() const { return rate ? static_cast<double>(scale) / rate : 0.0; }
    // The time unit that holds `ms`: floor(ms x rate / (1000 x scale)).
    std::int64_t UnitAt(std::int64_t ms) const {
        return rate && scale ? ms * static_cast<std::int64_t>(rate) / (1000 * static_cast<std::int64_t>(scale)) : 0;
    }
};

}  // namespace kx
