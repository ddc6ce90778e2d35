#pragma once
// A sound device for tests and benchmarks: it plays in real time without hardware and records
// what it was given and when each piece is heard.

#include "playback/AudioSink.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kx::test {

inline double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A sound device that plays in real time from a buffer of `latency`: it keeps the buffer
// filled 10 ms at a time (looking every `poll`), so each sample is heard `latency` after it was taken, at the pace of
// its own clock even when its thread runs late. It keeps its buffer while paused and drops it
// on a flush. It records when each buffer is heard and the recording time the graph gave it.
class PacedAudioSink final : public AudioSink {
public:
    struct Buffer {
        double wall = 0;   // when its first sample is heard
        double time = -1;  // recording time of its first sample; negative: made-up silence
        double peak = 0;   // largest sample magnitude
    };

    explicit PacedAudioSink(double latency = 0.06, std::chrono::milliseconds poll = std::chrono::milliseconds(2))
        : latency_(latency), poll_(poll) {}
    ~PacedAudioSink() override { Close(); }
    // A device that plays only this format, whatever it is asked for.
    void Insist(const AudioFormat& format) { insisted_ = format; }

    std::optional<AudioFormat> Open(const AudioFormat& wanted, AudioFeed& feed) override {
        Close();
        format_ = insisted_.sampleRate ? insisted_ : wanted;
        feed_ = &feed;
        paused_ = true;
        stop_ = false;
        ++opens_;
        thread_ = std::thread([this] { Run(); });
        return format_;
    }
    void SetPaused(bool paused) override { paused_ = paused; }
    void Flush() override { flush_ = true; }
    void Close() override {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    std::vector<Buffer> Buffers() const {
        std::lock_guard lock(mutex_);
        return buffers_;
    }
    AudioFormat Format() const { return format_; }
    int Opens() const { return opens_; }

private:
    void Run() {
        const int frames = format_.sampleRate / 100;
        const double chunk = static_cast<double>(frames) / format_.sampleRate;
        std::vector<std::int16_t> samples(static_cast<std::size_t>(frames) * format_.channels);
        double heardAt = WallSeconds() + latency_;  // when the next sample taken is heard
        double pausedAt = -1;
        while (!stop_) {
            std::this_thread::sleep_for(poll_);
            const double now = WallSeconds();
            if (paused_) {
                if (pausedAt < 0) pausedAt = now;
                continue;
            }
            if (pausedAt >= 0) heardAt += now - pausedAt;
            pausedAt = -1;
            if (flush_.exchange(false)) {
                heardAt = now;
                std::lock_guard lock(mutex_);
                while (!buffers_.empty() && buffers_.back().wall > now) buffers_.pop_back();
            }
            heardAt = std::max(heardAt, now);  // the buffer ran dry
            while (heardAt < now + latency_) {
                Buffer b;
                b.wall = heardAt;
                b.time = feed_->Read(samples.data(), frames, heardAt - now);
                for (std::int16_t v : samples) b.peak = std::max(b.peak, std::abs(static_cast<double>(v)));
                heardAt += chunk;
                std::lock_guard lock(mutex_);
                buffers_.push_back(b);
            }
        }
    }

    double latency_;
    std::chrono::milliseconds poll_;
    AudioFormat insisted_;
    AudioFormat format_;
    AudioFeed* feed_ = nullptr;
    std::atomic<bool> paused_{true};
    std::atomic<bool> flush_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int> opens_{0};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<Buffer> buffers_;
};

}  // namespace kx::test
