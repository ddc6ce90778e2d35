#pragma once
// The camera's microphone: an engine hum whose loudness and pitch follow the speed of the drive,
// recorded as AAC-LC (one chunk per AAC frame) or as 16-bit PCM in 100 ms chunks, mono at
// 22050 Hz. Chunks are made on demand so that an hour of PCM never sits in memory.

#include "app/avi/AviWriter.h"
#include "sim/CameraSimulator.h"
#include "sim/Drive.h"
#include "sim/SplitMix64.h"

#include <cstdint>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace kx::sim {

class SoundTrack {
public:
    static constexpr int kSampleRate = 22050;
    static constexpr int kAacBytesPerSecond = 6000;

    SoundTrack(const Drive& drive, std::uint64_t seed);
    ~SoundTrack();
    SoundTrack(const SoundTrack&) = delete;
    SoundTrack& operator=(const SoundTrack&) = delete;

    // Prepares `seconds` of sound (rounded up to whole chunks); `kind` is Aac or Pcm.
    bool Open(AudioKind kind, double seconds);
    // The stream's header and format for the AVI header list.
    AviStreamSpec Stream() const;
    // The samples each chunk holds: chunk j starts at sample j x ChunkSamples().
    std::uint32_t ChunkSamples() const;
    // The next chunk; false when every chunk has been made or on an error (see Error()).
    bool Next(std::vector<std::uint8_t>& chunk);
    const std::string& Error() const { return error_; }

private:
    void Synthesize(float* out, int count);
    bool NextAac(std::vector<std::uint8_t>& chunk);
    bool Fail(const std::string& what, int code);

    const Drive& drive_;
    SplitMix64 random_;
    AudioKind kind_ = AudioKind::None;
    std::uint64_t samplesLeft_ = 0;  // still to be synthesised
    std::uint64_t samplesMade_ = 0;
    double phase_ = 0;
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    AVPacket* packet_ = nullptr;
    bool flushed_ = false;
    std::string error_;
};

}  // namespace kx::sim
