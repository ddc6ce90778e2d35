#pragma once
// A headless stand-in for the viewer's windows and sound device: sinks that record what the
// graph hands them (the frame marks of the pictures, the samples), small recordings made by
// the camera simulator, and a registry kept in the test's own folder.

#include "PacedAudioSink.h"
#include "TempDir.h"
#include "playback/AudioSink.h"
#include "playback/VideoSink.h"
#include "sim/CameraSimulator.h"
#include "sim/FrameMark.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace kx::test {

using namespace std::chrono_literals;


// One picture as a window received it.
struct ShownPicture {
    sim::FrameMark mark;
    int width = 0;
    int height = 0;
    double time = 0;  // the picture's time in the recording
    double wall = 0;  // when it was shown
    double meanLuma = 0;
};

class RecordingVideoSink final : public VideoSink {
public:
    explicit RecordingVideoSink(VideoSize size = {320, 180}) : width_(size.width), height_(size.height) {}

    void Resize(VideoSize size) {
        width_ = size.width;
        height_ = size.height;
    }
    VideoSize Size() const override { return {width_.load(), height_.load()}; }

    void Present(const VideoPicture& picture) override {
        ShownPicture shown;
        shown.width = picture.width;
        shown.height = picture.height;
        shown.time = picture.time;
        shown.wall = WallSeconds();
        if (picture.pixels) {
            std::vector<std::uint8_t> gray(static_cast<std::size_t>(picture.width) * picture.height);
            double sum = 0;
            for (int y = 0; y < picture.height; ++y) {
                const std::uint8_t* row = picture.pixels + static_cast<std::ptrdiff_t>(y) * picture.stride;
                for (int x = 0; x < picture.width; ++x) {
                    const std::uint8_t* p = row + 4 * x;  // B, G, R, A
                    const int g = (p[0] * 29 + p[1] * 150 + p[2] * 77) >> 8;
                    gray[static_cast<std::size_t>(y) * picture.width + x] = static_cast<std::uint8_t>(g);
                    sum += g;
                }
            }
            shown.meanLuma = sum / static_cast<double>(gray.size());
            shown.mark = sim::ReadFrameMark(gray.data(), picture.width, picture.width, picture.height);
        }
        {
            std::lock_guard lock(mutex_);
            shown_.push_back(shown);
        }
        cond_.notify_all();
    }

    std::vector<ShownPicture> Shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return shown_.size();
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        shown_.clear();
    }
    // Waits until a picture satisfying `match` arrives (among those from now on or already
    // there); returns it, or nothing after the timeout.
    template <class Match>
    std::optional<ShownPicture> WaitFor(Match match, std::chrono::milliseconds timeout = 5000ms) {
        std::unique_lock lock(mutex_);
        std::optional<ShownPicture> found;
        cond_.wait_for(lock, timeout, [&] {
            for (const ShownPicture& s : shown_)
                if (match(s)) {
                    found = s;
                    return true;
                }
            return false;
        });
        return found;
    }
    std::optional<ShownPicture> WaitForCount(std::size_t n, std::chrono::milliseconds timeout = 5000ms) {
        std::unique_lock lock(mutex_);
        if (!cond_.wait_for(lock, timeout, [&] { return shown_.size() >= n; })) return std::nullopt;
        return shown_[n - 1];
    }

private:
    std::atomic<int> width_;
    std::atomic<int> height_;
    mutable std::mutex mutex_;
    std::condition_variable cond_;
    std::vector<ShownPicture> shown_;
};

// A sound device that is not there.
class MissingAudioSink final : public AudioSink {
public:
    std::optional<AudioFormat> Open(const AudioFormat&, AudioFeed&) override {
        ++tries;
        return std::nullopt;
    }
    void SetPaused(bool) override {}
    void Flush() override {}
    void Close() override {}
    int tries = 0;
};

// A folder for the test's recordings, with the registry inside it.
class PlaybackTest : public ::testing::Test {
protected:
    std::string Make(const std::string& name, sim::SimOptions options) {
        const auto result = sim::GenerateRecording(dir / name, options);
        EXPECT_TRUE(result.ok) << result.error;
        return result.path;
    }
    static sim::SimOptions Small(int channels, sim::AudioKind audio, double seconds = 2) {
        sim::SimOptions o;
        o.channels = channels;
        o.audio = audio;
        o.seconds = seconds;
        o.fps = 30;
        return o;
    }
    TempDir dir;
    ScopedEnv registry{"KX480_REGISTRY_DIR", dir.path()};
};

// The frame numbers of the pictures a window showed, in order (-1 for an unreadable mark).
inline std::vector<int> FrameNumbers(const std::vector<ShownPicture>& shown) {
    std::vector<int> frames;
    for (const ShownPicture& s : shown) frames.push_back(s.mark.found ? static_cast<int>(s.mark.frame) : -1);
    return frames;
}

}  // namespace kx::test
