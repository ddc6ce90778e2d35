#include "playback/AudioRenderer.h"

#include "playback/VolumeLevel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kx {

AudioRenderer::AudioRenderer(FrameQueue& frames, const AudioDecoder& decoder, PlaybackSync& sync)
    : frames_(frames), decoder_(decoder), sync_(sync) {}

void AudioRenderer::SetVolumeLevel(int level) { amplitude_ = static_cast<float>(VolumeAmplitude(level)); }

bool AudioRenderer::Ready(int serial) const {
    return heldSerial_.load() == serial || frames_.Holds(serial) || decoder_.Finished(serial);
}

bool AudioRenderer::TakeFrame(int serial) {
    for (;;) {
        if (current_.frame && current_.serial == serial && offset_ < current_.frame->nb_samples) return true;
        current_ = QueuedFrame();
        offset_ = 0;
        heldSerial_ = -1;
        if (!frames_.Take(current_)) return false;
        heldSerial_ = current_.serial;
    }
}

double AudioRenderer::Read(std::int16_t* out, int frames, double delaySeconds) {
    const double now = Clock::Now();
    const std::size_t channels = static_cast<std::size_t>(format_.channels);
    std::memset(out, 0, static_cast<std::size_t>(frames) * channels * sizeof(std::int16_t));
    frames_.DropStale();
    const int serial = sync_.serial.load();
    if (serial != serial_) {
        serial_ = serial;
        endTime_ = static_cast<double>(sync_.targetMs.load()) / 1000.0;
    }
    if (!sync_.playing.load()) return -1;

    const float amplitude = amplitude_.load();
    double first = -1;
    int filled = 0;
    while (filled < frames && TakeFrame(serial)) {
        const AVFrame& f = *current_.frame;
        const double secondsPerSample = current_.duration / f.nb_samples;
        const int n = std::min(frames - filled, f.nb_samples - offset_);
        if (first < 0) first = current_.time + offset_ * secondsPerSample;
        const auto* in = reinterpret_cast<const std::int16_t*>(f.data[0]) + static_cast<std::size_t>(offset_) * channels;
        std::int16_t* to = out + static_cast<std::size_t>(filled) * channels;
        for (std::size_t i = 0; i < static_cast<std::size_t>(n) * channels; ++i)
            to[i] = static_cast<std::int16_t>(std::lrint(in[i] * amplitude));
        offset_ += n;
        filled += n;
        endTime_ = current_.time + offset_ * secondsPerSample;
    }
    // While the sound is late the clock stays with the last sample handed out, so the pictures
    // wait for the sound rather than run ahead of it. Past the end the silence plays on the
    // recording's time, so the position reaches the end and the pictures still due are shown.
    const double speed = sync_.soundClock.Speed();
    const double clockTime = first >= 0 ? first : endTime_;
    if (filled < frames && decoder_.Finished(serial) && !frames_.Holds(serial))
        endTime_ += (frames - filled) * speed / format_.sampleRate;
    sync_.soundClock.Set(clockTime - delaySeconds * speed, serial, now);
    return first;
}

}  // namespace kx
