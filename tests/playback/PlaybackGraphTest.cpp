// The player driven as the viewer drives it, with recording windows and a real-time sound
// device: which frames each window shows, when, after which seeks and settings.

#include "PlaybackHarness.h"
#include "app/avi/AviWriter.h"
#include "app/core/Registry.h"
#include "playback/CPlaybackGraph.h"
#include "playback/RecordingBytes.h"
#include "playback/StageNames.h"
#include "playback/TelemetryPull.h"
#include "playback/VideoDecoder.h"

#include <filesystem>

using namespace kx;
using namespace kx::test;

namespace {

constexpr int kWait = 5000;

class GraphTest : public PlaybackTest {
protected:
    void Attach(AudioSink* device = nullptr) {
        graph.AttachWindows(&front, &rear);
        graph.AttachSound(device);
    }
    // Opens and waits until the first pictures are shown.
    void Open(const std::string& path) {
        ASSERT_TRUE(graph.OpenRecording(path, 0, -1));
        ASSERT_NE(graph.MediaGraph(), nullptr);
        ASSERT_TRUE(graph.MediaGraph()->WaitForPictures(kWait));
    }
    bool WaitForEnd() { return graph.MediaGraph()->WaitForCompletion(kWait); }
    bool WaitForPictures() { return graph.MediaGraph()->WaitForPictures(kWait); }
    static ShownPicture Last(const RecordingVideoSink& sink) { return sink.Shown().back(); }

    // The windows and the sound device outlive the player, as the main window's do.
    PacedAudioSink sound;
    RecordingVideoSink front;
    RecordingVideoSink rear;
    CPlaybackGraph graph;
};

// Interpolates the recording time the sound device was playing at `wall`.
std::optional<double> SoundTimeAt(const std::vector<PacedAudioSink::Buffer>& buffers, double wall) {
    for (std::size_t i = 1; i < buffers.size(); ++i) {
        const auto& a = buffers[i - 1];
        const auto& b = buffers[i];
        if (a.time < 0 || b.time < 0 || a.wall > wall || b.wall < wall) continue;
        return a.time + (b.time - a.time) * (wall - a.wall) / std::max(1e-9, b.wall - a.wall);
    }
    return std::nullopt;
}

void ExpectConsecutive(const std::vector<int>& frames, int first, int last, const char* what) {
    std::vector<int> want;
    for (int k = first; k <= last; ++k) want.push_back(k);
    EXPECT_EQ(frames, want) << what;
}

// In order, from the first to the last frame; where the point is not the timing, a slow
// machine may drop a late picture.
void ExpectInOrderToTheEnd(const std::vector<int>& frames, int last) {
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), 0);
    EXPECT_EQ(frames.back(), last);
    for (std::size_t i = 1; i < frames.size(); ++i) EXPECT_GT(frames[i], frames[i - 1]) << i;
    EXPECT_GE(frames.size(), static_cast<std::size_t>(last + 1) * 4 / 5);
}

TEST_F(GraphTest, PlaysEveryFrameOnceInOrderAtNormalSpeedInStepWithTheSound) {
    Attach(&sound);
    Open(Make("r.avi", Small(2, sim::AudioKind::Aac)));
    EXPECT_EQ(graph.GetPlayState(), PlayState::Stopped);
    EXPECT_EQ(graph.GetDurationMs(), 2000u);
    EXPECT_EQ(graph.GetPositionMs(), 0u);
    ASSERT_EQ(graph.Run(), kSOk);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(graph.GetPositionMs(), 2000u);
    EXPECT_EQ(graph.GetPlayState(), PlayState::Running);

    const auto shownFront = front.Shown();
    const auto shownRear = rear.Shown();
    ExpectConsecutive(FrameNumbers(shownFront), 0, 59, "front");
    ExpectConsecutive(FrameNumbers(shownRear), 0, 59, "rear");
    for (const auto& s : shownFront) EXPECT_EQ(s.mark.channel, 0);
    for (const auto& s : shownRear) EXPECT_EQ(s.mark.channel, 1);
    // Frame 1 to frame 59 take 58 frame times.
    EXPECT_NEAR(shownFront.back().wall - shownFront[1].wall, 58.0 / 30, 0.12);

    const auto buffers = sound.Buffers();
    int checked = 0;
    for (std::size_t i = 1; i < shownFront.size(); ++i) {
        const auto heard = SoundTimeAt(buffers, shownFront[i].wall);
        if (!heard) continue;
        EXPECT_NEAR(*heard, shownFront[i].time, 0.045) << "frame " << i;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(GraphTest, PlaysTwiceAsFastAtRate2AndHalfAsFastAtRateHalf) {
    for (const float rate : {2.0f, 0.5f}) {
        Attach(&sound);
        front.Clear();
        Open(Make("r.avi", Small(1, sim::AudioKind::Aac, 1)));
        EXPECT_EQ(graph.SetRate(rate), 1);
        ASSERT_EQ(graph.Run(), kSOk);
        ASSERT_TRUE(WaitForEnd());
        const auto shown = front.Shown();
        ExpectConsecutive(FrameNumbers(shown), 0, 29, "front");
        EXPECT_NEAR(shown.back().wall - shown[1].wall, 28.0 / 30 / rate, 0.1 / rate) << rate;
        graph.CloseRecording();
    }
}

// Rates beyond the limits play at the limit, and the limit is what is stored; a rate set while
// running pauses and plays on without showing any frame twice.
TEST_F(GraphTest, RatesOutsideHalfToTwoAreLimited) {
    struct Case {
        float asked;
        float played;
    };
    for (const Case c : {Case{3.0f, 2.0f}, Case{0.25f, 0.5f}}) {
        Attach(&sound);
        front.Clear();
        Open(Make("r.avi", Small(1, sim::AudioKind::Aac, 3)));
        ASSERT_EQ(graph.Run(), kSOk);
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(graph.SetRate(c.asked), 1);
        EXPECT_EQ(graph.GetPlayState(), PlayState::Running);
        EXPECT_EQ(graph.MediaGraph()->Rate(), c.played);
        std::this_thread::sleep_for(200ms);
        const auto from = graph.GetPositionMs();
        std::this_thread::sleep_for(400ms);
        const auto to = graph.GetPositionMs();
        EXPECT_NEAR(static_cast<double>(to - from), 400.0 * c.played, 60.0) << c.asked;
        graph.Pause();
        const auto frames = FrameNumbers(front.Shown());
        for (std::size_t i = 1; i < frames.size(); ++i) ASSERT_GT(frames[i], frames[i - 1]) << c.asked;
        graph.CloseRecording();
    }
}

TEST_F(GraphTest, ARateSetWhilePausedWaitsForTheNextRun) {
    Attach();
    Open(Make("r.avi", Small(1, sim::AudioKind::None, 3)));
    graph.Run();
    graph.Pause();
    EXPECT_EQ(graph.SetRate(2.0f), 1);
    EXPECT_EQ(graph.GetPlayState(), PlayState::Paused);
    const auto paused = graph.GetPositionMs();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(graph.GetPositionMs(), paused);
    graph.Run();
    std::this_thread::sleep_for(400ms);
    EXPECT_NEAR(static_cast<double>(graph.GetPositionMs() - paused), 800.0, 80.0);
}

// A seek shows exactly the frame whose time span holds the target, in every state; a paused
// or stopped graph shows it at once, a running one plays on from it.
TEST_F(GraphTest, SeekLandsOnTheExactFrameInEveryState) {
    struct Case {
        PlayState state;
        int ms;
        int frame;
        bool cut;
    };
    const Case cases[] = {
        {PlayState::Stopped, 500, 15, false}, {PlayState::Paused, 1234, 37, false},
        {PlayState::Paused, 1000, 30, false}, {PlayState::Paused, 999, 29, false},
        {PlayState::Running, 1700, 51, false}, {PlayState::Paused, 1234, 37, true},
        {PlayState::Stopped, 5000, 59, false},
    };
    Attach(&sound);
    auto options = Small(2, sim::AudioKind::Aac);
    const std::string whole = Make("r.avi", options);
    options.seconds = 3;
    options.cut = 450'000;  // about 2.2 s written, no index
    const std::string cut = Make("cut.avi", options);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ms) + (c.cut ? " cut" : ""));
        Open(c.cut ? cut : whole);
        if (c.state != PlayState::Stopped) graph.Run();
        if (c.state == PlayState::Paused) graph.Pause();
        front.Clear();
        rear.Clear();
        ASSERT_EQ(graph.SeekMs(c.ms), 1);
        ASSERT_TRUE(WaitForPictures());
        const auto first = front.Shown().front();
        EXPECT_EQ(first.mark.frame, static_cast<std::uint32_t>(c.frame));
        EXPECT_EQ(rear.Shown().front().mark.frame, static_cast<std::uint32_t>(c.frame));
        EXPECT_EQ(rear.Shown().front().mark.channel, 1);
        if (c.state == PlayState::Running) {
            ASSERT_TRUE(front.WaitForCount(4).has_value());
            const auto frames = FrameNumbers(front.Shown());
            ExpectConsecutive({frames.begin(), frames.begin() + 4}, c.frame, c.frame + 3, "after the seek");
        } else {
            EXPECT_EQ(graph.GetPositionMs(), static_cast<std::uint64_t>(std::min(c.ms, 2000)));
            std::this_thread::sleep_for(100ms);
            EXPECT_EQ(front.Count(), 1u) << "a paused graph shows one picture";
            graph.Run();
            const auto next = front.WaitForCount(2);
            ASSERT_TRUE(next.has_value());
            if (c.frame < 59) {
                EXPECT_EQ(next->mark.frame, static_cast<std::uint32_t>(c.frame + 1));
            }
        }
        graph.CloseRecording();
    }
}

TEST_F(GraphTest, RunAfterTheEndStartsAgainFromZero) {
    Attach();
    Open(Make("r.avi", Small(1, sim::AudioKind::None, 1)));
    graph.Run();
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(graph.GetPositionMs(), graph.GetDurationMs());
    graph.Pause();
    front.Clear();
    ASSERT_EQ(graph.Run(), kSOk);
    ASSERT_TRUE(front.WaitForCount(3).has_value());
    const auto frames = FrameNumbers(front.Shown());
    ExpectConsecutive({frames.begin(), frames.begin() + 3}, 0, 2, "after Run at the end");
    EXPECT_LT(graph.GetPositionMs(), 500u);
}

TEST_F(GraphTest, MirrorFlipsTheRearPictureOnly) {
    Attach();
    Open(Make("r.avi", Small(2, sim::AudioKind::None)));
    graph.Run();
    graph.Pause();
    for (const bool on : {true, false}) {
        EXPECT_EQ(graph.SetRearMirror(on), kSOk);
        front.Clear();
        rear.Clear();
        graph.SeekMs(700);  // the paused picture is made again with the new setting
        ASSERT_TRUE(WaitForPictures());
        EXPECT_EQ(Last(rear).mark.mirrored, on);
        EXPECT_EQ(Last(rear).mark.frame, 21u);
        EXPECT_FALSE(Last(front).mark.mirrored);
    }
    graph.CloseRecording();
    Open(Make("one.avi", Small(1, sim::AudioKind::None, 1)));
    EXPECT_EQ(graph.SetRearMirror(true), 0);
}

TEST_F(GraphTest, BrightnessRaisesLumaAndZeroRestoresIt) {
    Attach();
    Open(Make("r.avi", Small(2, sim::AudioKind::None)));
    const auto shownAt = [&] {
        front.Clear();
        graph.SeekMs(1000);
        EXPECT_TRUE(WaitForPictures());
        return Last(front);
    };
    const ShownPicture plain = shownAt();
    EXPECT_EQ(graph.PutDecoderParam(1, kParamPictureAdjust, 1), kSOk);
    EXPECT_EQ(graph.PutDecoderParam(1, kParamBrightness, 100), kSOk);
    const ShownPicture bright = shownAt();
    EXPECT_GT(bright.meanLuma, plain.meanLuma + 60);
    EXPECT_TRUE(bright.mark.found);
    EXPECT_EQ(bright.mark.frame, 30u);
    EXPECT_EQ(graph.PutDecoderParam(1, kParamBrightness, 0), kSOk);
    EXPECT_NEAR(shownAt().meanLuma, plain.meanLuma, 0.01);
    EXPECT_EQ(graph.PutDecoderParam(1, 999, 1), kEInvalidArg);
    EXPECT_EQ(graph.PutDecoderParam(3, kParamBrightness, 1), kENoInterface);
}

// The stages a build adds, by the recording's shape and the player's channel count.
TEST_F(GraphTest, BuildsOneChainPerChannelWithTheFixedStageNames) {
    struct Case {
        int fileChannels;
        sim::AudioKind audio;
        int channelCount;
        bool soundDevice;
        std::vector<std::string> stages;
    };
    const std::string p = stage::kParseFilter;
    const Case cases[] = {
        {1, sim::AudioKind::Aac, 2, true,
         {p, "COREAAC AUDIO", "DirectSound Audio Renderer", "FFDShow Decoder1", "Color Space Convertor 1",
          "Mixing Renderer9"}},
        {1, sim::AudioKind::Pcm, 2, false, {p, "FFDShow Decoder1", "Color Space Convertor 1", "Mixing Renderer9"}},
        {2, sim::AudioKind::Aac, 2, false,
         {p, "CoreAAC Decoder", "FFDShow Decoder1", "Color Space Convertor 1", "Mixing Renderer9-1",
          "FFDShow Decoder2", "Color Space Convertor 2", "Mixing Renderer9-2"}},
        {2, sim::AudioKind::Pcm, 1, true,
         {p, "DirectSound Audio Renderer", "FFDShow Decoder1", "Color Space Convertor 1", "Mixing Renderer9-1"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        graph.AttachWindows({&front, &rear, nullptr, nullptr}, c.channelCount);
        graph.AttachSound(c.soundDevice ? &sound : nullptr);
        rear.Clear();
        Open(Make("r" + std::to_string(n++) + ".avi", Small(c.fileChannels, c.audio, 1)));
        EXPECT_EQ(graph.MediaGraph()->StageNames(), c.stages) << n;
        EXPECT_EQ(graph.GetVideoPinCount(), c.fileChannels);
        if (c.fileChannels == 2 && c.channelCount == 1) {
            std::this_thread::sleep_for(100ms);
            EXPECT_EQ(rear.Count(), 0u) << "only channel 1 is built";
            ChannelImage image;
            EXPECT_FALSE(graph.GrabChannelImage(1, image));
        }
        graph.CloseRecording();
    }
}

// A recording whose parse stage shows no "Video" pin opens, builds no chain and cannot run.
TEST_F(GraphTest, ARecordingWithoutVideoOpensWithoutAChain) {
    AviStreamSpec text;
    text.header.type = kFccTxts;
    text.header.scale = 1;
    text.header.rate = 10;
    text.format = {0, 0, 0, 0};
    text.chunkType[0] = 't';
    text.chunkType[1] = 'x';
    AviWriter writer;
    ASSERT_TRUE(writer.Open(dir / "text.avi", {}, {text}));
    const std::string packet = "M\x01\x02\x03";
    writer.WriteChunk(0, {reinterpret_cast<const std::uint8_t*>(packet.data()), packet.size()}, true);
    ASSERT_TRUE(writer.Finish());

    Attach(&sound);
    ASSERT_TRUE(graph.OpenRecording(dir / "text.avi", 0, -1));
    EXPECT_EQ(graph.GetVideoPinCount(), 0);
    EXPECT_EQ(graph.GetPlayState(), PlayState::Idle);
    EXPECT_EQ(graph.MediaGraph()->StageNames(), std::vector<std::string>{stage::kParseFilter});
    EXPECT_EQ(graph.Run(), kVfwWrongState);
    EXPECT_EQ(graph.SeekMs(100), 0);
    EXPECT_EQ(graph.GetDurationMs(), 0u);
    TelemetryLoad load;
    const auto pulled = PullTelemetry(graph, load, nullptr, 0ms);
    EXPECT_TRUE(pulled.reachedEnd);
    EXPECT_EQ(pulled.packets, 1u);
    EXPECT_EQ(sound.Opens(), 0);
}

TEST_F(GraphTest, GrabTakesTheShownPictureAtItsOwnSizeAndNeedsTheChannel) {
    Attach();
    front.Resize({160, 90});
    Open(Make("r.avi", Small(1, sim::AudioKind::None, 1)));
    graph.SeekMs(400);
    ASSERT_TRUE(WaitForPictures());
    ChannelImage image;
    ASSERT_TRUE(graph.GrabChannelImage(0, image));
    ASSERT_EQ(image.width, 320);
    ASSERT_EQ(image.height, 180);
    ASSERT_EQ(image.pixels.size(), 320u * 180 * 4);
    RecordingVideoSink reader({320, 180});
    reader.Present({320, 180, 320 * 4, image.pixels.data(), 0});
    EXPECT_EQ(Last(reader).mark.frame, 12u);

    ChannelImage untouched;
    untouched.width = 7;
    EXPECT_FALSE(graph.GrabChannelImage(1, untouched));
    EXPECT_FALSE(graph.GrabChannelImage(3, untouched));
    EXPECT_EQ(untouched.width, 7);
    EXPECT_TRUE(untouched.pixels.empty());
}

TEST_F(GraphTest, RepositionShowsTheCurrentPictureAgainAtTheNewSize) {
    Attach();
    Open(Make("r.avi", Small(2, sim::AudioKind::None, 1)));
    front.Resize({160, 90});
    rear.Resize({480, 270});
    EXPECT_EQ(graph.RepositionChannels(), kSOk);
    const auto small = front.WaitFor([](const ShownPicture& s) { return s.width == 160; });
    const auto large = rear.WaitFor([](const ShownPicture& s) { return s.width == 480; });
    ASSERT_TRUE(small && large);
    EXPECT_EQ(small->mark.frame, 0u);
    EXPECT_EQ(large->mark.frame, 0u);
    EXPECT_EQ(large->mark.channel, 1);
    front.Clear();
    EXPECT_EQ(graph.RepaintFirstChannel(), kSOk);
    ASSERT_TRUE(front.WaitForCount(1).has_value());
    EXPECT_EQ(Last(front).height, 90);
}

TEST_F(GraphTest, OpeningTheSamePathTwiceBuildsAFreshGraph) {
    Attach(&sound);
    const std::string path = Make("r.avi", Small(2, sim::AudioKind::Aac, 1));
    Open(path);
    graph.Run();
    ASSERT_TRUE(front.WaitForCount(5).has_value());
    ASSERT_TRUE(graph.OpenRecording(path, 0, -1));
    EXPECT_EQ(CMediaGraph::LiveCount(), 1);
    EXPECT_EQ(sound.Opens(), 2);
    EXPECT_EQ(graph.GetPlayState(), PlayState::Stopped);
    EXPECT_EQ(graph.GetPositionMs(), 0u);
    front.Clear();
    ASSERT_TRUE(WaitForPictures());
    EXPECT_EQ(Last(front).mark.frame, 0u);
}

TEST_F(GraphTest, EveryTelemetryPacketArrivesWithItsTime) {
    Attach();
    Open(Make("r.avi", Small(2, sim::AudioKind::Aac)));
    graph.Run();
    TelemetryLoad load;
    const auto pulled = PullTelemetry(graph, load);
    EXPECT_TRUE(pulled.reachedEnd);
    EXPECT_EQ(pulled.packets, 22u);
    ASSERT_EQ(load.gsensor.size(), 20u);
    for (std::size_t i = 0; i < load.gsensor.size(); ++i) EXPECT_EQ(load.gsensor[i].time, i * 100) << i;
    ASSERT_EQ(load.gps.size(), 2u);
    EXPECT_EQ(load.gps[0].time, 0u);
    EXPECT_EQ(load.gps[1].time, 1000u);
    EXPECT_TRUE(load.gps[1].valid);

    graph.CloseRecording();
    TelemetryLoad none;
    const auto start = WallSeconds();
    const auto gaveUp = PullTelemetry(graph, none, nullptr, 0ms);
    EXPECT_FALSE(gaveUp.reachedEnd);
    EXPECT_EQ(gaveUp.packets, 0u);
    EXPECT_LT(WallSeconds() - start, 1.0);
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(PullTelemetry(graph, none, &cancel).reachedEnd);
}

TEST_F(GraphTest, UnreadableAndTruncatedFilesDoNotOpen) {
    Attach();
    const std::string good = Make("r.avi", Small(2, sim::AudioKind::Aac, 1));
    const std::string bytes = ReadFileBytes(good);
    WriteFileBytes(dir / "text.avi", "RIFF not really");
    WriteFileBytes(dir / "header.avi", bytes.substr(0, 300));
    WriteFileBytes(dir / "empty.avi", "");
    for (const std::string& path : {dir / "missing.avi", dir / "text.avi", dir / "header.avi", dir / "empty.avi"}) {
        EXPECT_FALSE(graph.OpenRecording(path, 0, -1)) << path;
        EXPECT_EQ(graph.MediaGraph(), nullptr);
        EXPECT_EQ(graph.GetPlayState(), PlayState::Idle);
        EXPECT_EQ(graph.Run(), kVfwWrongState);
        EXPECT_EQ(graph.SeekMs(10), 1);
        EXPECT_EQ(graph.SetVolume(50), 1);
        EXPECT_EQ(CMediaGraph::LiveCount(), 0);
    }
    EXPECT_FALSE(graph.OpenRecording("", 0, -1));
    CPlaybackGraph windowless(CPlaybackGraph::RegistryMark::Skip);
    EXPECT_FALSE(windowless.OpenRecording(good, 0, -1));
}

// A file cut in its movi list (a power loss) plays what was written, to the end.
TEST_F(GraphTest, ARecordingCutInTheMiddlePlaysWhatWasWritten) {
    Attach();
    auto options = Small(2, sim::AudioKind::Aac, 1);
    const std::string whole = Make("whole.avi", options);
    options.cut = std::filesystem::file_size(whole) / 2;
    Open(Make("cut.avi", options));
    const auto duration = graph.GetDurationMs();
    EXPECT_GT(duration, 200u);
    EXPECT_LT(duration, 1000u);
    graph.SetRate(2.0f);
    graph.Run();
    ASSERT_TRUE(WaitForEnd());
    ExpectInOrderToTheEnd(FrameNumbers(front.Shown()),
                          static_cast<int>(std::lround(static_cast<double>(duration) * 30 / 1000)) - 1);
}

TEST_F(GraphTest, WithoutASoundDevicePlaysSilently) {
    MissingAudioSink missing;
    Attach(&missing);
    Open(Make("r.avi", Small(1, sim::AudioKind::Aac, 1)));
    EXPECT_EQ(missing.tries, 1);
    EXPECT_FALSE(graph.MediaGraph()->HasSound());
    EXPECT_EQ(graph.SetVolume(50), 0);
    graph.Run();
    ASSERT_TRUE(WaitForEnd());
    ExpectInOrderToTheEnd(FrameNumbers(front.Shown()), 29);
    graph.CloseRecording();
}

TEST_F(GraphTest, VolumeScalesTheSamplesAndZeroIsSilence) {
    Attach(&sound);
    Open(Make("r.avi", Small(1, sim::AudioKind::Pcm, 3)));
    EXPECT_EQ(graph.SetVolume(99), 1);
    graph.Run();
    const auto heard = [&](double time) {
        for (const auto& b : sound.Buffers())
            if (b.time >= time) return true;
        return false;
    };
    for (int i = 0; i < 500 && !heard(0.3); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(graph.SetVolume(0), 1);
    const double mutedAt = WallSeconds();
    std::this_thread::sleep_for(300ms);
    graph.Pause();
    double loud = 0, muted = 0;
    for (const auto& b : sound.Buffers()) {
        if (b.time < 0) continue;
        if (b.wall < mutedAt - 0.02) loud = std::max(loud, b.peak);
        if (b.wall > mutedAt + 0.1) muted = std::max(muted, b.peak);  // taken after, heard after the latency
    }
    EXPECT_GT(loud, 1000);
    EXPECT_EQ(muted, 0);

}

// A device that wants another rate and channel count gets the sound converted, on time.
TEST_F(GraphTest, SoundIsConvertedToTheFormatTheDevicePlays) {
    sound.Insist({48000, 2});
    Attach(&sound);
    Open(Make("r.avi", Small(1, sim::AudioKind::Aac, 2)));
    graph.Run();
    ASSERT_TRUE(WaitForEnd());
    const auto buffers = sound.Buffers();
    std::vector<PacedAudioSink::Buffer> heard;
    for (const auto& b : buffers)
        if (b.time >= 0) heard.push_back(b);
    ASSERT_GT(heard.size(), 150u);
    EXPECT_LT(heard.front().time, 0.05);
    EXPECT_GT(heard.back().time, 1.9);
    // The recording time heard moves with the wall clock.
    const double played = heard.back().time - heard.front().time;
    EXPECT_NEAR(played, heard.back().wall - heard.front().wall, 0.06);
    double peak = 0;
    for (const auto& b : heard) peak = std::max(peak, b.peak);
    EXPECT_GT(peak, 1000);
    for (const auto& s : front.Shown()) {
        const auto t = SoundTimeAt(buffers, s.wall);
        if (!t || s.time < 0.1) continue;
        EXPECT_NEAR(*t, s.time, 0.045);
    }
}

// A recording on a card plays from the bytes the card layer hands out, while its telemetry
// is read from the same bytes.
TEST_F(GraphTest, ACardRecordingPlaysFromTheCardLayersBytes) {
    const std::string bytes = ReadFileBytes(Make("r.avi", Small(2, sim::AudioKind::Aac, 1)));
    SetCardFileOpener([&](std::uintptr_t context, std::int32_t locator) -> std::unique_ptr<ByteSource> {
        if (context != 0x5000 || locator != 4) return nullptr;
        return std::make_unique<MemoryByteSource>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    });
    Attach(&sound);
    ASSERT_TRUE(graph.OpenRecording("REC_20240307_090500_2.avi", 0x5000, 4));
    graph.Run();
    TelemetryLoad load;
    EXPECT_EQ(PullTelemetry(graph, load).packets, 11u);
    ASSERT_TRUE(WaitForEnd());
    ExpectInOrderToTheEnd(FrameNumbers(rear.Shown()), 29);
    graph.Pause();
    graph.SeekMs(500);
    ASSERT_TRUE(WaitForPictures());
    EXPECT_EQ(Last(front).mark.frame, 15u);
    EXPECT_FALSE(graph.OpenRecording("REC_20240307_090500_2.avi", 0x5000, 5));
    SetCardFileOpener({});
}

TEST_F(GraphTest, TheConstructorMarksTheMachineRegistry) {
    const auto key = RegistryKey::Open(RegistryHive::LocalMachine, "SOFTWARE\\Ostrel");
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->QueryDword("usingDShow"), 1u);
    EXPECT_EQ(graph.Option(), 1);
    EXPECT_EQ(graph.ChannelCount(), 2);

    TempDir other;
    ScopedEnv moved("KX480_REGISTRY_DIR", other.path());
    CPlaybackGraph tool(CPlaybackGraph::RegistryMark::Skip);
    EXPECT_FALSE(RegistryKey::Open(RegistryHive::LocalMachine, "SOFTWARE\\Ostrel").has_value());
}

}  // namespace
