// The graph's smaller parts on their own: the volume levels, the pitch-keeping stretch, and
// the queues' behaviour across a seek.

#include "playback/AudioTempo.h"
#include "playback/FrameQueue.h"
#include "playback/PacketQueue.h"
#include "playback/VolumeLevel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

using namespace kx;

namespace {

TEST(VolumeLevelTest, PercentsGiveTheRenderersLevels) {
    const std::pair<int, int> table[] = {{0, -10000}, {9, -1045}, {19, -721}, {29, -537}, {39, -408},
                                         {49, -309},  {59, -229}, {69, -161}, {79, -102}, {89, -50},
                                         {99, -4},    {50, -301}, {10, -999}, {100, -10000}};
    for (const auto& [percent, level] : table) EXPECT_EQ(VolumeLevelForPercent(percent), level) << percent;
}

TEST(VolumeLevelTest, LevelsScaleTheAmplitudeAndTheLowestIsSilence) {
    EXPECT_EQ(VolumeAmplitude(-10000), 0.0);
    EXPECT_NEAR(VolumeAmplitude(-2000), 0.1, 1e-12);
    EXPECT_NEAR(VolumeAmplitude(-301), 0.7071, 1e-4);
    EXPECT_NEAR(VolumeAmplitude(0), 1.0, 1e-12);
}

// The sound clock counts each stretched sample as `tempo` samples of the recording; that only
// holds when the stretch keeps the length: what it lacks at the end must not grow with it.
long long StretchedLength(double tempo, int frames) {
    AudioTempo stretch;
    EXPECT_TRUE(stretch.Open({22050, 1}, tempo));
    long long out = 0;
    for (int i = 0; i < frames; ++i) {
        FramePtr f = MakeFrame();
        f->format = AV_SAMPLE_FMT_S16;
        f->sample_rate = 22050;
        f->nb_samples = 1024;
        av_channel_layout_default(&f->ch_layout, 1);
        EXPECT_GE(av_frame_get_buffer(f.get(), 0), 0);
        auto* s = reinterpret_cast<std::int16_t*>(f->data[0]);
        for (int k = 0; k < 1024; ++k) s[k] = static_cast<std::int16_t>(8000 * std::sin(0.05 * (i * 1024 + k)));
        EXPECT_TRUE(stretch.Push(f.get()));
        while (FramePtr o = stretch.Pull()) {
            EXPECT_EQ(o->format, AV_SAMPLE_FMT_S16);
            out += o->nb_samples;
        }
    }
    EXPECT_TRUE(stretch.Push(nullptr));
    while (FramePtr o = stretch.Pull()) out += o->nb_samples;
    return out;
}

TEST(AudioTempoTest, StretchKeepsTheLengthAtEveryRate) {
    for (const double tempo : {0.5, 0.8, 1.5, 2.0}) {
        const double shortGap = static_cast<double>(StretchedLength(tempo, 50)) - 50 * 1024 / tempo;
        const double longGap = static_cast<double>(StretchedLength(tempo, 400)) - 400 * 1024 / tempo;
        EXPECT_LT(std::fabs(shortGap), 0.05 * 22050) << tempo;  // the filter's window at the end
        EXPECT_LT(std::fabs(longGap - shortGap), 0.005 * 22050) << tempo;  // no drift
    }
}

// A decoder blocked on a full queue must not hang a seek: once its picture is stale it drops
// it and goes on.
TEST(FrameQueueTest, AWaitingPushGivesUpAStalePicture) {
    std::atomic<int> serial{1};
    FrameQueue queue(1, serial);
    ASSERT_TRUE(queue.Push({MakeFrame(), 1, 0.0, 0.0, 0}));
    std::atomic<bool> returned{false};
    std::thread decoder([&] {
        EXPECT_TRUE(queue.Push({MakeFrame(), 1, 0.033, 0.0, 1}));
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);
    serial = 2;
    queue.Wake();
    decoder.join();
    EXPECT_EQ(queue.Count(), 1u);
    queue.DropStale();
    EXPECT_EQ(queue.Count(), 0u);
    EXPECT_TRUE(queue.Push({MakeFrame(), 2, 0.5, 0.0, 15}));
    EXPECT_TRUE(queue.Holds(2));
}

TEST(PacketQueueTest, PacketsCarryTheSeekTheyWerePutUnder) {
    PacketQueue queue;
    queue.Flush({3, 1500, 2.0f});
    PacketPtr p = MakePacket();
    ASSERT_GE(av_new_packet(p.get(), 10), 0);
    queue.Put(std::move(p), 0.033);
    queue.PutEnd();
    EXPECT_EQ(queue.Bytes(), 10u);
    EXPECT_TRUE(queue.Ended());
    QueuedPacket got;
    ASSERT_TRUE(queue.Get(got));
    EXPECT_EQ(got.mark.serial, 3);
    EXPECT_EQ(got.mark.targetMs, 1500);
    EXPECT_EQ(got.mark.tempo, 2.0f);
    queue.Flush({4, 0, 1.0f});
    EXPECT_EQ(queue.Count(), 0u);
    EXPECT_FALSE(queue.Ended());
    std::thread aborter([&] { queue.Abort(); });
    EXPECT_FALSE(queue.Get(got));
    aborter.join();
}

}  // namespace
