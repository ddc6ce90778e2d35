// kx480-tool info and frame: what the player reports about a recording, and the picture it
// grabs, read back from the saved file by its frame mark.

#include "RunCommand.h"
#include "TempDir.h"
#include "playback/FfmpegPtr.h"
#include "sim/CameraSimulator.h"
#include "sim/FrameMark.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>

using namespace kx;
using namespace kx::test;

namespace {

CommandResult Tool(const std::string& args) {
    return RunCommand(std::string(KX_TOOL_PATH) + " " + args + " 2>/dev/null");
}

// The frame mark of a saved picture: the file is decoded and turned into gray.
sim::FrameMark MarkOfSavedPicture(const std::string& path, AVCodecID codecId) {
    const std::string bytes = ReadFileBytes(path);
    const AVCodec* codec = avcodec_find_decoder(codecId);
    CodecContextPtr context(avcodec_alloc_context3(codec));
    PacketPtr packet = MakePacket();
    FramePtr frame = MakeFrame();
    if (bytes.empty() || avcodec_open2(context.get(), codec, nullptr) < 0 ||
        av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0)
        return {};
    std::memcpy(packet->data, bytes.data(), bytes.size());
    if (avcodec_send_packet(context.get(), packet.get()) < 0 || avcodec_receive_frame(context.get(), frame.get()) < 0)
        return {};
    std::vector<std::uint8_t> gray(static_cast<std::size_t>(frame->width) * frame->height);
    SwsContextPtr toGray(sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        frame->width, frame->height, AV_PIX_FMT_GRAY8, SWS_BILINEAR, nullptr, nullptr,
                                        nullptr));
    std::uint8_t* out[4] = {gray.data(), nullptr, nullptr, nullptr};
    const int stride[4] = {frame->width, 0, 0, 0};
    sws_scale(toGray.get(), frame->data, frame->linesize, 0, frame->height, out, stride);
    return sim::ReadFrameMark(gray.data(), frame->width, frame->width, frame->height);
}

class PlaybackToolTest : public ::testing::Test {
protected:
    std::string Make(const std::string& name, int channels, sim::AudioKind audio) {
        sim::SimOptions o;
        o.channels = channels;
        o.audio = audio;
        o.seconds = 2;
        const auto r = sim::GenerateRecording(dir / name, o);
        EXPECT_TRUE(r.ok) << r.error;
        return r.path;
    }
    TempDir dir;
};

TEST_F(PlaybackToolTest, InfoPrintsWhatThePlayerFinds) {
    struct Case {
        int channels;
        sim::AudioKind audio;
        std::string expected;
    };
    const Case cases[] = {
        {2, sim::AudioKind::Aac,
         "video_pins=2\naudio_pins=1\nduration_ms=2000\nframes_0=60\nframes_1=60\naudio=aac,22050,1\n"
         "state=complete\nindex=idx1\ntext_packets=22\ngps_fixes=2\ngsensor_samples=20\n"},
        {1, sim::AudioKind::Pcm,
         "video_pins=1\naudio_pins=1001\nduration_ms=2000\nframes_0=60\naudio=pcm,22050,1\n"
         "state=complete\nindex=idx1\ntext_packets=22\ngps_fixes=2\ngsensor_samples=20\n"},
        {1, sim::AudioKind::None,
         "video_pins=1\naudio_pins=0\nduration_ms=2000\nframes_0=60\naudio=none\n"
         "state=complete\nindex=idx1\ntext_packets=22\ngps_fixes=2\ngsensor_samples=20\n"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = Make("r" + std::to_string(n++) + ".avi", c.channels, c.audio);
        const CommandResult r = Tool("info " + path);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.output, "file=" + path + "\n" + c.expected);
    }
    EXPECT_EQ(Tool("info " + dir / "missing.avi").status, 2);
    EXPECT_EQ(Tool("info").status, 1);
}

TEST_F(PlaybackToolTest, FrameSavesThePictureAtThePosition) {
    const std::string path = Make("r.avi", 2, sim::AudioKind::Aac);
    struct Case {
        std::string options;
        std::string out;
        AVCodecID codec;
        int channel;
        std::uint32_t frame;
        bool mirrored;
    };
    const Case cases[] = {
        {"--at 1234", "a.png", AV_CODEC_ID_PNG, 0, 37, false},
        {"--at 500 --channel 1 --mirror", "b.jpg", AV_CODEC_ID_MJPEG, 1, 15, true},
        {"--at 1999 --brightness 80", "c.png", AV_CODEC_ID_PNG, 0, 59, false},
    };
    for (const Case& c : cases) {
        const CommandResult r = Tool("frame " + path + " " + c.options + " -o " + dir / c.out);
        ASSERT_EQ(r.status, 0) << c.options;
        const sim::FrameMark mark = MarkOfSavedPicture(dir / c.out, c.codec);
        ASSERT_TRUE(mark.found) << c.options;
        EXPECT_EQ(mark.channel, c.channel) << c.options;
        EXPECT_EQ(mark.frame, c.frame) << c.options;
        EXPECT_EQ(mark.mirrored, c.mirrored) << c.options;
    }
}

TEST_F(PlaybackToolTest, FrameFailsWithAReason) {
    const std::string one = Make("one.avi", 1, sim::AudioKind::None);
    for (const std::string& args : {"frame " + dir / "missing.avi" + " --at 0 -o " + dir / "x.png",
                                   "frame " + one + " --at 0 --channel 1 -o " + dir / "x.png",
                                   "frame " + one + " --at 0 -o " + dir / "x.bmp", "frame " + one + " --at 0",
                                   "frame " + one + " -o " + dir / "x.png",
                                   "frame " + one + " --at 0 --brightness 300 -o " + dir / "x.png"}) {
        EXPECT_EQ(Tool(args).status, 1) << args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
}

}  // namespace
