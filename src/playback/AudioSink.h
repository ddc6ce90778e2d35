#pragma once
// Where the sound goes. The window layer implements it on the sound device; tests consume the
// samples with a thread of their own. Samples are signed 16-bit, channels interleaved.

#include <cstdint>
#include <optional>

namespace kx {

struct AudioFormat {
    int sampleRate = 0;
    int channels = 0;
    bool operator==(const AudioFormat&) const = default;
};

// The graph's side of a sink: the sink pulls the samples it needs from its own thread.
class AudioFeed {
public:
    virtual ~AudioFeed() = default;
    // Fills all `frames` frames of `out` (silence when nothing is ready to play). The first of
    // them will be heard `delaySeconds` from now; the graph's sound clock is set from that.
    // Returns the recording time in seconds of the first frame, or a negative value when the
    // whole buffer is silence the graph made up (not playing, waiting for data).
    virtual double Read(std::int16_t* out, int frames, double delaySeconds) = 0;
};

class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Opens the device for `wanted`, or for the nearest format it can play, which it returns.
    // The sink starts paused and, once resumed, calls `feed` from its own thread until Close.
    // nullopt: no sound device; the graph then plays without sound.
    virtual std::optional<AudioFormat> Open(const AudioFormat& wanted, AudioFeed& feed) = 0;
    // Stops or restarts pulling; samples already taken stay queued in the device.
    virtual void SetPaused(bool paused) = 0;
    // Drops the samples taken but not yet heard (after a seek).
    virtual void Flush() = 0;
    // After it returns, the feed is not called again.
    virtual void Close() = 0;
};

}  // namespace kx
