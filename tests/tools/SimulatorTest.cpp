// The camera simulator writes recordings as the camera does. These tests read its files back
// with FFmpeg and with a plain RIFF walk, and check what later tests rely on: the layout, the
// frame marks, the telemetry, the cut-off shape and the determinism.

#include "sim/CameraSimulator.h"
#include "sim/FrameMark.h"

#include "RecordingProbe.h"
#include "TempDir.h"
#include "app/avi/AviFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

namespace kx::sim {
namespace {

using namespace kx::test;

std::string Generate(const test::TempDir& dir, const std::string& name, const SimOptions& options) {
    const SimResult result = GenerateRecording(dir / name, options);
    EXPECT_TRUE(result.ok) << result.error;
    return result.path;
}

SimOptions Tiny(int channels, AudioKind audio, double seconds = 1, int fps = 10) {
    SimOptions o;
    o.channels = channels;
    o.audio = audio;
    o.seconds = seconds;
    o.fps = fps;
    return o;
}

std::string Text(const Chunk& c) { return std::string(c.data.begin(), c.data.end()); }

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> out(1);
    for (char ch : text) {
        if (ch == ',') out.emplace_back();
        else out.back() += ch;
    }
    return out;
}

// `shape` with '#' for any digit.
bool Shaped(const std::string& text, const std::string& shape) {
    return text.size() == shape.size() &&
           std::equal(text.begin(), text.end(), shape.begin(),
                      [](char c, char s) { return s == '#' ? c >= '0' && c <= '9' : c == s; });
}

bool OneDecimal(const std::string& text) {
    const auto dot = text.find('.');
    return dot != std::string::npos && dot > 0 && dot + 2 == text.size() &&
           Shaped(text, std::string(dot, '#') + ".#");
}

// NAL unit types of a video chunk, found after each 4-byte start code.
std::vector<int> NalTypes(const Bytes& data) {
    std::vector<int> types;
    for (std::size_t i = 0; i + 4 < data.size(); ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 0 && data[i + 3] == 1)
            types.push_back(data[i + 4] & 0x1F);
    return types;
}

// A text packet's time: that of the last front frame before it.
struct TimedPacket {
    std::uint64_t time;
    std::string text;
};

std::vector<TimedPacket> Packets(const Riff& r, const std::string& textId, int fps) {
    std::vector<TimedPacket> out;
    std::int64_t frame = -1;
    for (const Chunk& c : r.chunks) {
        if (c.id == "00dc") ++frame;
        if (c.id == textId) out.push_back({frame < 0 ? 0 : static_cast<std::uint64_t>(frame) * 1000 / fps, Text(c)});
    }
    return out;
}

class SimulatorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { av_log_set_level(AV_LOG_ERROR); }
    test::TempDir dir_;
};

// ---- Options and names ----

TEST_F(SimulatorTest, RefusesOptionsTheCameraCannotRecord) {
    struct Case {
        const char* what;
        void (*change)(SimOptions&);
    };
    const Case cases[] = {
        {"three channels", [](SimOptions& o) { o.channels = 3; }},
        {"odd width", [](SimOptions& o) { o.width = 321; }},
        {"odd rear height", [](SimOptions& o) { o.rearWidth = 160, o.rearHeight = 91; }},
        {"rear width without height", [](SimOptions& o) { o.rearWidth = 160; }},
        {"too small", [](SimOptions& o) { o.width = 64, o.height = 36; }},
        {"too big", [](SimOptions& o) { o.width = 8192, o.height = 4320; }},
        {"no frame rate", [](SimOptions& o) { o.fps = 0; }},
        {"frame rate above 120", [](SimOptions& o) { o.fps = 121; }},
        {"no length", [](SimOptions& o) { o.seconds = 0; }},
        {"longer than an hour", [](SimOptions& o) { o.seconds = 3601; }},
        {"unknown kind", [](SimOptions& o) { o.kind = "ABC"; }},
        {"lower-case kind", [](SimOptions& o) { o.kind = "rec"; }},
        {"no such day", [](SimOptions& o) { o.start = "2023-02-29 10:00:00"; }},
        {"hour 24", [](SimOptions& o) { o.start = "2024-03-07 24:00:00"; }},
        {"single-digit hour", [](SimOptions& o) { o.start = "2024-03-07 9:05:00"; }},
        {"no threads", [](SimOptions& o) { o.threads = 0; }},
        {"beyond 4 GiB", [](SimOptions& o) { o.width = 3840, o.height = 2160, o.seconds = 3600; }},
    };
    EXPECT_EQ(ValidateOptions(SimOptions{}), std::nullopt);
    for (const Case& c : cases) {
        SimOptions o;
        c.change(o);
        EXPECT_NE(ValidateOptions(o), std::nullopt) << c.what;
        EXPECT_FALSE(GenerateRecording(dir_ / "x.avi", o).ok) << c.what;
    }
    SimOptions leap;
    leap.start = "2024-02-29 23:59:59";
    EXPECT_EQ(ValidateOptions(leap), std::nullopt);
}

TEST_F(SimulatorTest, NamesTheFileByTheCameraRuleInAFolder) {
    SimOptions o = Tiny(1, AudioKind::None, 0.2);
    o.kind = "EVT";
    EXPECT_EQ(RecordingFileName(o), "EVT_20240307_090500_1.avi");
    const SimResult result = GenerateRecording(dir_.path(), o);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(std::filesystem::path(result.path).filename(), "EVT_20240307_090500_1.avi");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "EVT_20240307_090500_1.avi"));
}

// ---- The file as FFmpeg reads it ----

TEST_F(SimulatorTest, TwoChannelAacRecordingDecodesFrameByFrame) {
    SimOptions o = Tiny(2, AudioKind::Aac, 1.5, 20);
    o.rearWidth = 192, o.rearHeight = 108;
    const auto streams = Decode(Generate(dir_, "a.avi", o));
    ASSERT_EQ(streams.size(), 4u);
    EXPECT_EQ(streams[0].codec, AV_CODEC_ID_H264);
    EXPECT_EQ(streams[1].codec, AV_CODEC_ID_H264);
    EXPECT_EQ(streams[2].codec, AV_CODEC_ID_AAC);
    EXPECT_EQ(streams[2].sampleRate, 22050);
    EXPECT_EQ(streams[2].soundChannels, 1);
    const int sizes[2][2] = {{320, 180}, {192, 108}};
    for (int channel = 0; channel < 2; ++channel) {
        const DecodedStream& s = streams[static_cast<std::size_t>(channel)];
        EXPECT_EQ(s.width, sizes[channel][0]);
        EXPECT_EQ(s.height, sizes[channel][1]);
        ASSERT_EQ(s.pictures.size(), 30u) << "channel " << channel;
        for (std::uint32_t k = 0; k < 30; ++k) {
            const Picture& p = s.pictures[k];
            const FrameMark mark = ReadFrameMark(p.y.data(), p.width, p.width, p.height);
            EXPECT_TRUE(mark.found && mark.channel == channel && mark.frame == k && !mark.mirrored)
                << "channel " << channel << " frame " << k << " read as " << mark.channel << "/" << mark.frame;
        }
    }
    // Sound, not silence: about 1.5 s of an engine hum.
    EXPECT_NEAR(static_cast<double>(streams[2].samples) / 22050, 1.5, 0.15);
    EXPECT_GT(streams[2].Rms(), 0.03);
}

// ---- Frame marks ----

Bytes Scale(const Bytes& gray, int width, int height, int toWidth, int toHeight) {
    SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_GRAY8, toWidth, toHeight, AV_PIX_FMT_GRAY8,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
    Bytes out(static_cast<std::size_t>(toWidth) * static_cast<std::size_t>(toHeight));
    const std::uint8_t* src[4] = {gray.data(), nullptr, nullptr, nullptr};
    const int srcStride[4] = {width, 0, 0, 0};
    std::uint8_t* dst[4] = {out.data(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {toWidth, 0, 0, 0};
    sws_scale(sws, src, srcStride, 0, height, dst, dstStride);
    sws_freeContext(sws);
    return out;
}

// The grey levels of an RGB screenshot of the picture.
Bytes GrayOfRgb(const Picture& p) {
    SwsContext* sws = sws_getContext(p.width, p.height, AV_PIX_FMT_YUV420P, p.width, p.height, AV_PIX_FMT_RGB24,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
    Bytes rgb(static_cast<std::size_t>(p.width * p.height * 3));
    const std::uint8_t* src[4] = {p.y.data(), p.u.data(), p.v.data(), nullptr};
    const int srcStride[4] = {p.width, p.width / 2, p.width / 2, 0};
    std::uint8_t* dst[4] = {rgb.data(), nullptr, nullptr, nullptr};
    const int dstStride[4] = {p.width * 3, 0, 0, 0};
    sws_scale(sws, src, srcStride, 0, p.height, dst, dstStride);
    sws_freeContext(sws);
    Bytes gray(static_cast<std::size_t>(p.width * p.height));
    for (std::size_t i = 0; i < gray.size(); ++i)
        gray[i] = static_cast<std::uint8_t>((299 * rgb[3 * i] + 587 * rgb[3 * i + 1] + 114 * rgb[3 * i + 2]) / 1000);
    return gray;
}

Bytes Mirror(Bytes gray, int width) {
    for (auto row = gray.begin(); row != gray.end(); row += width) std::reverse(row, row + width);
    return gray;
}

Bytes Brighten(Bytes gray, int offset) {
    for (auto& v : gray) v = static_cast<std::uint8_t>(std::clamp(v + offset, 0, 255));
    return gray;
}

TEST_F(SimulatorTest, FrameMarkSurvivesCodingScalingMirrorAndBrightness) {
    const auto streams = Decode(Generate(dir_, "m.avi", Tiny(2, AudioKind::None, 1, 10)));
    ASSERT_EQ(streams.size(), 3u);
    ASSERT_EQ(streams[1].pictures.size(), 10u);
    const Picture& p = streams[1].pictures[7];  // rear, frame 7
    const int w = p.width, h = p.height;
    struct Case {
        const char* what;
        Bytes gray;
        int width, height;
        bool mirrored;
    };
    const Case cases[] = {
        {"as decoded", p.y, w, h, false},
        {"a third of the size", Scale(p.y, w, h, w / 3, h / 3), w / 3, h / 3, false},
        {"mirrored", Mirror(p.y, w), w, h, true},
        {"brighter by 60", Brighten(p.y, 60), w, h, false},
        {"darker by 100", Brighten(p.y, -100), w, h, false},
        {"RGB screenshot", GrayOfRgb(p), w, h, false},
        {"all at once", Brighten(Mirror(Scale(p.y, w, h, w / 3, h / 3), w / 3), 60), w / 3, h / 3, true},
    };
    for (const Case& c : cases) {
        const FrameMark mark = ReadFrameMark(c.gray.data(), c.width, c.width, c.height);
        EXPECT_TRUE(mark.found) << c.what;
        EXPECT_EQ(mark.channel, 1) << c.what;
        EXPECT_EQ(mark.frame, 7u) << c.what;
        EXPECT_EQ(mark.mirrored, c.mirrored) << c.what;
    }
}

TEST_F(SimulatorTest, FrameMarkReadsEveryBitAfterAFullHdPictureIsShownSmall) {
    const int w = 1920, h = 1080;
    for (const std::uint32_t frame : {0u, 1u, 0x8000u, 0xA5A5u, 0xFFFFu, 0x10003u}) {
        for (const int channel : {0, 1}) {
            Bytes gray(static_cast<std::size_t>(w * h), 90);
            DrawFrameMark(gray.data(), w, w, h, channel, frame);
            const Bytes small = Scale(gray, w, h, 360, 202);
            const FrameMark mark = ReadFrameMark(small.data(), 360, 360, 202);
            EXPECT_TRUE(mark.found);
            EXPECT_EQ(mark.channel, channel);
            EXPECT_EQ(mark.frame, frame & 0xFFFFu) << "numbers are kept modulo 65536";
        }
    }
}

TEST_F(SimulatorTest, FrameMarkIsNotFoundWhereThereIsNone) {
    const int w = 320, h = 180;
    Bytes flat(static_cast<std::size_t>(w * h), 128);
    EXPECT_FALSE(ReadFrameMark(flat.data(), w, w, h).found);
    // One cell flipped: the parity catches it.
    Bytes damaged(static_cast<std::size_t>(w * h), 128);
    DrawFrameMark(damaged.data(), w, w, h, 0, 1234);
    const int cell = w / kFrameMarkCells;
    for (int y = 0; y < FrameMarkBandHeight(h); ++y)
        for (int x = 10 * cell; x < 11 * cell; ++x) damaged[static_cast<std::size_t>(y * w + x)] ^= 0xFF;
    EXPECT_FALSE(ReadFrameMark(damaged.data(), w, w, h).found);
}

// ---- Layout ----

TEST_F(SimulatorTest, FinishedRecordingHasTheCameraLayout) {
    const int fps = 10;
    const Bytes file = ReadAll(Generate(dir_, "l.avi", Tiny(2, AudioKind::Aac, 2.5, fps)));
    const Riff r = Walk(file);
    EXPECT_EQ(r.riffSize, file.size() - 8);
    ASSERT_TRUE(r.hasIndex);
    ASSERT_EQ(r.headers.size(), 4u);
    EXPECT_EQ(r.main.totalFrames, 25u);
    EXPECT_EQ(r.main.streams, 4u);

    // Video: every chunk starts with a 4-byte start code and the first real unit; key frames
    // every second begin with the parameter sets; no SEI or delimiters anywhere.
    for (const char* id : {"00dc", "01dc"}) {
        const auto video = r.Of(id);
        ASSERT_EQ(video.size(), 25u) << id;
        for (std::size_t k = 0; k < video.size(); ++k) {
            const Bytes& d = video[k]->data;
            ASSERT_GT(d.size(), 5u);
            EXPECT_EQ(ReadLE32(d.data()), 0x01000000u) << id << " frame " << k;
            const auto types = NalTypes(d);
            const std::vector<int> keyStart = {7, 8, 5};
            if (k % fps == 0) {
                EXPECT_TRUE(std::equal(keyStart.begin(), keyStart.end(), types.begin())) << id << " frame " << k;
            } else {
                EXPECT_EQ(types.front(), 1) << id << " frame " << k;
            }
            EXPECT_EQ(std::count_if(types.begin(), types.end(), [](int t) { return t == 6 || t == 9; }), 0);
        }
    }
    const auto sound = r.Of("02wb");
    const auto text = r.Of("03tx");
    EXPECT_EQ(r.headers[0].length, 25u);
    EXPECT_EQ(r.headers[1].length, 25u);
    EXPECT_EQ(r.headers[2].length, sound.size());
    EXPECT_EQ(r.headers[3].length, text.size());
    EXPECT_EQ(r.headers[2].scale, 1024u);
    EXPECT_EQ(r.headers[2].rate, 22050u);
    EXPECT_EQ(r.headers[2].sampleSize, 0u);
    EXPECT_EQ(ReadLE16(r.formats[2].data()), kWaveFormatAac);
    EXPECT_EQ(ReadLE16(&r.formats[2][16]), r.formats[2].size() - 18) << "AudioSpecificConfig as extra data";
    EXPECT_EQ(r.headers[3].scale, 1u);
    EXPECT_EQ(r.headers[3].rate, 10u);
    EXPECT_EQ(r.formats[3], Bytes(4, 0));

    // idx1: one entry per chunk at its offset from "movi"; key flag on key frames, sound, text.
    ASSERT_EQ(r.index.size(), r.chunks.size());
    EXPECT_EQ(r.index.front().offset, 4u);
    std::size_t videoFrame[2] = {0, 0};
    for (std::size_t i = 0; i < r.chunks.size(); ++i) {
        const Chunk& c = r.chunks[i];
        const IndexEntry& e = r.index[i];
        EXPECT_EQ(e.id, c.id);
        EXPECT_EQ(e.offset, c.offset);
        EXPECT_EQ(e.size, c.data.size());
        bool key = true;
        if (c.id == "00dc" || c.id == "01dc") key = videoFrame[c.id[1] - '0']++ % fps == 0;
        EXPECT_EQ(e.flags, key ? kIndexKeyFrame : 0u) << "chunk " << i << " " << c.id;
    }
}

TEST_F(SimulatorTest, StreamsFollowTheCameraOrderForEveryShape) {
    struct Case {
        int channels;
        AudioKind audio;
        std::vector<std::string> ids;
        std::vector<FourCC> types;
    };
    const Case cases[] = {
        {1, AudioKind::None, {"00dc", "01tx"}, {kFccVids, kFccTxts}},
        {1, AudioKind::Pcm, {"00dc", "01wb", "02tx"}, {kFccVids, kFccAuds, kFccTxts}},
        {2, AudioKind::None, {"00dc", "01dc", "02tx"}, {kFccVids, kFccVids, kFccTxts}},
        {2, AudioKind::Aac, {"00dc", "01dc", "02wb", "03tx"}, {kFccVids, kFccVids, kFccAuds, kFccTxts}},
    };
    for (const Case& c : cases) {
        SimOptions o = Tiny(c.channels, c.audio, 0.5);
        o.width = 96, o.height = 64;
        const Bytes file = ReadAll(Generate(dir_, "s.avi", o));
        const Riff r = Walk(file);
        std::vector<FourCC> types;
        for (const auto& h : r.headers) types.push_back(h.type);
        EXPECT_EQ(types, c.types) << c.channels << " channels, " << c.ids.size() << " streams";
        for (const auto& id : c.ids) EXPECT_FALSE(r.Of(id).empty()) << id;
        std::size_t known = 0;
        for (const auto& id : c.ids) known += r.Of(id).size();
        EXPECT_EQ(known, r.chunks.size()) << "chunks of other streams";
        if (c.channels == 1 && c.audio == AudioKind::None) {
            EXPECT_EQ(file[232], 't');
            EXPECT_EQ(ReadLE32(&file[56]), 2u);
        }
    }
}

TEST_F(SimulatorTest, PcmSoundIsSixteenBitMonoInTenthsOfASecond) {
    const Riff r = Walk(ReadAll(Generate(dir_, "p.avi", Tiny(1, AudioKind::Pcm, 1))));
    ASSERT_EQ(r.headers.size(), 3u);
    const AviStreamHeader& h = r.headers[1];
    EXPECT_EQ(h.scale, 2u);
    EXPECT_EQ(h.rate, 44100u);
    EXPECT_EQ(h.sampleSize, 2u);
    const Bytes expectedFormat = {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0};
    EXPECT_EQ(r.formats[1], expectedFormat);
    const auto chunks = r.Of("01wb");
    ASSERT_EQ(chunks.size(), 10u);
    for (const Chunk* c : chunks) EXPECT_EQ(c->data.size(), 4410u);
    EXPECT_EQ(h.length, 10u * 2205u) << "length in samples";
}

TEST_F(SimulatorTest, EngineSoundFollowsTheSpeed) {
    const Riff r = Walk(ReadAll(Generate(dir_, "e.avi", Tiny(1, AudioKind::Pcm, 10, 5))));
    auto rms = [&](std::size_t chunk) {
        const Bytes& d = r.Of("01wb").at(chunk)->data;
        double sum = 0;
        for (std::size_t i = 0; i + 1 < d.size(); i += 2) {
            const double v = static_cast<std::int16_t>(ReadLE16(&d[i])) / 32768.0;
            sum += v * v;
        }
        return std::sqrt(sum / static_cast<double>(d.size() / 2));
    };
    const double standing = rms(5);   // 0.5 s: standing still
    const double motorway = rms(60);  // 6 s: cruising
    EXPECT_GT(standing, 0.03);
    EXPECT_GT(motorway, 2.5 * standing);
}

// ---- Telemetry ----

TEST_F(SimulatorTest, PacketsFollowTheFrameWhoseTimeReachesTheirTick) {
    SimOptions o = Tiny(2, AudioKind::Aac, 3, 30);
    o.start = "2024-03-01 03:00:00";  // UTC: 18:00 on the day before, a leap day
    const Riff r = Walk(ReadAll(Generate(dir_, "t.avi", o)));
    const auto packets = Packets(r, "03tx", 30);
    std::vector<std::uint64_t> gps, gsensor;
    for (const auto& p : packets) (p.text[0] == 'G' ? gps : gsensor).push_back(p.time);
    // Ticks run to the last frame at 2966 ms; each packet takes the time of the first frame at
    // or after its tick.
    const std::vector<std::uint64_t> expectedGps = {0, 1000, 2000};
    EXPECT_EQ(gps, expectedGps);
    ASSERT_EQ(gsensor.size(), 30u);
    for (std::size_t i = 0; i < gsensor.size(); ++i) {
        const std::uint64_t tick = 100 * i;
        const std::uint64_t frame = (tick * 30 + 999) / 1000;  // first frame with k*1000/30 >= tick
        EXPECT_EQ(gsensor[i], frame * 1000 / 30) << "tick " << tick;
    }
    EXPECT_EQ(packets[0].text.substr(0, 17), "GPRMC,180000.00,A") << "a fix goes before the sample of its moment";
    for (const auto& p : packets) {
        if (p.text[0] != 'G') {
            EXPECT_EQ(p.text.size(), 4u);
            continue;
        }
        const auto f = Fields(p.text);
        ASSERT_EQ(f.size(), 10u) << p.text;
        EXPECT_EQ(f[0], "GPRMC");
        EXPECT_TRUE(Shaped(f[1], "18000#.00")) << p.text;
        EXPECT_EQ(f[2], "A");
        EXPECT_TRUE(Shaped(f[3], "37##.####")) << p.text;
        EXPECT_EQ(f[4], "N");
        EXPECT_TRUE(Shaped(f[5], "126##.####")) << p.text;
        EXPECT_EQ(f[6], "E");
        EXPECT_TRUE(OneDecimal(f[7])) << p.text;
        EXPECT_TRUE(OneDecimal(f[8])) << p.text;
        EXPECT_EQ(f[9], "290224");
    }
}

TEST_F(SimulatorTest, WithoutAFixGpsPacketsHaveStatusVAndNoPosition) {
    SimOptions o = Tiny(1, AudioKind::None, 2.5, 10);
    o.gps = false;
    const auto packets = Packets(Walk(ReadAll(Generate(dir_, "v.avi", o))), "01tx", 10);
    std::vector<std::string> gps;
    for (const auto& p : packets)
        if (p.text[0] == 'G') gps.push_back(p.text);
    const std::vector<std::string> expected = {"GPRMC,000500.00,V,,,,,,,070324", "GPRMC,000501.00,V,,,,,,,070324",
                                               "GPRMC,000502.00,V,,,,,,,070324"};
    EXPECT_EQ(gps, expected);
}

// Minutes of arc of an NMEA ddmm.mmmm field.
double NmeaMinutes(const std::string& field, int degreeDigits) {
    return std::stod(field.substr(0, static_cast<std::size_t>(degreeDigits))) * 60 +
           std::stod(field.substr(static_cast<std::size_t>(degreeDigits)));
}

TEST_F(SimulatorTest, DriveStandsThenReachesMotorwaySpeedAndBrakesWithBumps) {
    SimOptions o = Tiny(1, AudioKind::None, 40, 2);
    o.width = 96, o.height = 64;
    o.seed = 7;
    const auto packets = Packets(Walk(ReadAll(Generate(dir_, "d.avi", o))), "01tx", 2);
    std::vector<std::vector<std::string>> fixes;
    std::vector<std::array<int, 4>> samples;  // time, x, y, z bytes
    for (const auto& p : packets) {
        if (p.text[0] == 'G') fixes.push_back(Fields(p.text));
        else samples.push_back({static_cast<int>(p.time), p.text[1] & 0xFF, p.text[2] & 0xFF, p.text[3] & 0xFF});
    }
    ASSERT_EQ(fixes.size(), 40u);
    ASSERT_GE(samples.size(), 390u);

    double top = 0;
    for (std::size_t s = 0; s < fixes.size(); ++s) {
        ASSERT_EQ(fixes[s].size(), 10u);
        const double kmh = std::stod(fixes[s][7]) * 1.852;
        if (s < 4) {
            EXPECT_EQ(kmh, 0) << "standing still in the first tenth, second " << s;
        }
        top = std::max(top, kmh);
        if (s == 0) continue;
        // Consecutive fixes lie as far apart as the car goes in that second.
        const double north = (NmeaMinutes(fixes[s][3], 2) - NmeaMinutes(fixes[s - 1][3], 2)) * 1852;
        const double east = (NmeaMinutes(fixes[s][5], 3) - NmeaMinutes(fixes[s - 1][5], 3)) * 1852 *
                            std::cos(37.5 * std::numbers::pi / 180);
        const double a = std::stod(fixes[s - 1][7]) * 1852 / 3600, b = std::stod(fixes[s][7]) * 1852 / 3600;
        const double metres = std::hypot(north, east);
        EXPECT_GE(metres, std::min(a, b) * 0.98 - 0.3) << "second " << s;
        EXPECT_LE(metres, std::max(a, b) * 1.02 + 0.3) << "second " << s;
    }
    EXPECT_GE(top, 100);
    EXPECT_LE(top, 111);
    EXPECT_NEAR(NmeaMinutes(fixes[0][3], 2), 37 * 60 + 30.5, 0.1);
    EXPECT_NEAR(NmeaMinutes(fixes[0][5], 3), 126 * 60 + 58.68, 0.1);

    int hardestBrake = 0, highestZ = 0, lowestZ = 255;
    for (const auto& [time, x, y, z] : samples) {
        if (time < 4000) {
            EXPECT_LE(x, 1) << time;
            EXPECT_LE(y, 1) << time;
            EXPECT_NEAR(z, 30, 1) << time;
        }
        if (time >= 31000 && time <= 36000) hardestBrake = std::max(hardestBrake, x);
        highestZ = std::max(highestZ, z);
        lowestZ = std::min(lowestZ, z);
    }
    EXPECT_GE(hardestBrake, 14) << "braking reads about 0.5 g";
    EXPECT_GE(highestZ, 40) << "a bump";
    EXPECT_LE(lowestZ, 22) << "a bump";
}

// ---- Cut-off recordings ----

TEST_F(SimulatorTest, CutRecordingIsTheUnfinishedFileUpToTheCut) {
    SimOptions o = Tiny(2, AudioKind::Aac, 1, 10);
    o.cut = std::numeric_limits<std::uint64_t>::max();
    const Bytes whole = ReadAll(Generate(dir_, "whole.avi", o));
    const Riff r = Walk(whole);
    EXPECT_EQ(r.riffSize, 0u);
    EXPECT_EQ(r.moviSize, 0u);
    EXPECT_EQ(r.main.totalFrames, 0u);
    for (const auto& h : r.headers) EXPECT_EQ(h.length, 0u);
    EXPECT_FALSE(r.hasIndex);
    EXPECT_TRUE(r.endsAfterChunks);
    EXPECT_EQ(r.Of("00dc").size(), 10u);

    const std::uint64_t firstChunk = 20 + ReadLE32(&whole[16]) + 12;
    const Chunk& last = r.chunks.back();
    const std::uint64_t lastChunk = firstChunk - 4 + last.offset;
    for (const std::uint64_t cut : {std::uint64_t{0}, std::uint64_t{100}, firstChunk, firstChunk + 5,
                                    firstChunk + 4000, lastChunk + 3, std::uint64_t{whole.size() - 1}}) {
        o.cut = cut;
        const Bytes part = ReadAll(Generate(dir_, "cut.avi", o));
        ASSERT_EQ(part.size(), cut);
        EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin())) << "cut at " << cut;
    }
    o.cut = whole.size() + 10;
    EXPECT_EQ(ReadAll(Generate(dir_, "cut.avi", o)), whole) << "a cut past the end changes nothing";
}

// ---- Determinism ----

TEST_F(SimulatorTest, SameOptionsAndSeedGiveTheSameBytes) {
    const SimOptions o = Tiny(2, AudioKind::Aac, 1.5, 15);
    const Bytes first = ReadAll(Generate(dir_, "1.avi", o));
    EXPECT_EQ(ReadAll(Generate(dir_, "2.avi", o)), first);
    SimOptions parallel = o;
    parallel.threads = 2;
    EXPECT_EQ(ReadAll(Generate(dir_, "3.avi", parallel)), first) << "channels encoded side by side";
    SimOptions otherSeed = o;
    otherSeed.seed = 2;
    EXPECT_NE(ReadAll(Generate(dir_, "4.avi", otherSeed)), first);
}

}  // namespace
}  // namespace kx::sim
