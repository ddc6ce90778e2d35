// The Qt sound device: without a device it opens nothing and stays safe to use; with one it
// pulls from the feed only while resumed and never after Close. The graph drives it from
// threads without an event loop, which must not hang.

#include "app/sound/QtAudioSink.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QAudioDevice>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kx {
namespace {

using namespace std::chrono_literals;

// Records each pull: how many frames, how long until they are heard, and which thread asked.
class RecordingFeed final : public AudioFeed {
public:
    struct Pull {
        int frames = 0;
        double delay = 0;
        std::thread::id thread;
    };

    double Read(std::int16_t* out, int frames, double delaySeconds) override {
        std::fill(out, out + static_cast<std::ptrdiff_t>(frames) * channels, std::int16_t{0});
        {
            std::lock_guard lock(mutex_);
            pulls_.push_back({frames, delaySeconds, std::this_thread::get_id()});
        }
        cond_.notify_all();
        return -1;
    }

    std::vector<Pull> Pulls() const {
        std::lock_guard lock(mutex_);
        return pulls_;
    }
    std::size_t Count() const { return Pulls().size(); }
    bool WaitForCount(std::size_t n, std::chrono::milliseconds timeout = 3000ms) {
        std::unique_lock lock(mutex_);
        return cond_.wait_for(lock, timeout, [&] { return pulls_.size() >= n; });
    }

    int channels = 1;

private:
    mutable std::mutex mutex_;
    std::condition_variable cond_;
    std::vector<Pull> pulls_;
};

bool HasSoundDevice() { return !QMediaDevices::defaultAudioOutput().isNull(); }

// Runs `work` on a plain thread (no event loop, like the viewer's opener) and fails the whole
// program if it does not come back: a deadlock would otherwise hang the test run.
template <class Work>
void OnPlainThread(Work work) {
    std::packaged_task<void()> task(work);
    std::future<void> done = task.get_future();
    std::thread thread(std::move(task));
    if (done.wait_for(10s) != std::future_status::ready) {
        std::fprintf(stderr, "sound sink call from a plain thread did not return: deadlock\n");
        std::_Exit(1);
    }
    thread.join();
}

TEST(QtAudioSink, WithoutDeviceOpensNothingAndStaysSafe) {
    if (HasSoundDevice()) GTEST_SKIP() << "this machine has a sound output; the device test covers it";
    RecordingFeed feed;
    {
        QtAudioSink sink;
        EXPECT_EQ(sink.Open({8000, 1}, feed), std::nullopt);
        // The graph never resumes a sink that did not open, but none of this may crash.
        sink.SetPaused(false);
        sink.Flush();
        sink.SetPaused(true);
        sink.Close();
        sink.Close();
        EXPECT_EQ(sink.Open({48000, 2}, feed), std::nullopt);
    }  // destroyed without a Close after the second Open
    EXPECT_EQ(feed.Count(), 0u);
}

TEST(QtAudioSink, WithDevicePullsOnlyWhileResumedAndNeverAfterClose) {
    if (!HasSoundDevice()) GTEST_SKIP() << "no sound output on this machine (CI, xvfb); the no-device test covers it";
    RecordingFeed feed;
    QtAudioSink sink;
    const std::optional<AudioFormat> format = sink.Open({8000, 1}, feed);
    ASSERT_TRUE(format.has_value());
    EXPECT_GT(format->sampleRate, 0);
    EXPECT_GT(format->channels, 0);
    feed.channels = format->channels;

    // It opens paused.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(feed.Count(), 0u);

    sink.SetPaused(false);
    ASSERT_TRUE(feed.WaitForCount(20));
    const double bufferSeconds = QtAudioSink::kBufferMs / 1000.0;
    const int bufferFrames = format->sampleRate * QtAudioSink::kBufferMs / 1000;
    double largestDelay = 0;
    for (const RecordingFeed::Pull& p : feed.Pulls()) {
        // Small pulls: reading ahead of the device would hide sound from the delay.
        EXPECT_GT(p.frames, 0);
        EXPECT_LE(p.frames, bufferFrames);
        // The delay is what the device holds: never more than its buffer (with slack for the
        // device rounding the buffer up).
        EXPECT_GE(p.delay, 0.0);
        EXPECT_LE(p.delay, 2 * bufferSeconds);
        EXPECT_NE(p.thread, std::this_thread::get_id());
        largestDelay = std::max(largestDelay, p.delay);
    }
    // The buffer holds sound as it plays, so the delay is not stuck at zero.
    EXPECT_GT(largestDelay, 0.0);

    sink.SetPaused(true);
    const std::size_t whilePaused = feed.Count();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(feed.Count(), whilePaused);

    // A flush while paused keeps it paused, and drops what the device held: the first pull
    // after resuming is heard at once.
    sink.Flush();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(feed.Count(), whilePaused);
    sink.SetPaused(false);
    ASSERT_TRUE(feed.WaitForCount(whilePaused + 5));
    EXPECT_LT(feed.Pulls()[whilePaused].delay, 0.01);

    sink.Close();
    const std::size_t atClose = feed.Count();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(feed.Count(), atClose);
}

TEST(QtAudioSink, CallsFromThreadsWithoutEventLoopReturn) {
    RecordingFeed feed;
    auto sink = std::make_unique<QtAudioSink>();
    std::optional<AudioFormat> format;
    // Opened, played, flushed and closed from the opener's kind of thread...
    OnPlainThread([&] {
        format = sink->Open({8000, 1}, feed);
        sink->SetPaused(false);
        sink->Flush();
        sink->SetPaused(true);
        sink->Close();
    });
    EXPECT_EQ(format.has_value(), HasSoundDevice());
    // ...reopened there and closed from this thread, which runs no event loop either...
    OnPlainThread([&] { format = sink->Open({8000, 1}, feed); });
    EXPECT_EQ(format.has_value(), HasSoundDevice());
    sink->SetPaused(false);
    sink->Close();
    // ...and destroyed open, from yet another thread.
    OnPlainThread([&] { sink->Open({16000, 2}, feed); });
    OnPlainThread([&] { sink.reset(); });
}

}  // namespace
}  // namespace kx

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
