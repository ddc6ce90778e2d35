#pragma once
// Small AVI files in the camera's layout with stand-in chunk data, for tests of the file
// layer that need no real video.

#include "app/avi/AviWriter.h"

#include <string>
#include <vector>

namespace kx::test {

struct SmallAviShape {
    int videoStreams = 1;
    bool sound = false;
    int frames = 25;
    std::uint32_t fps = 10;
    bool finish = true;  // false leaves the file as a power loss does
};

// Writes frames with a G-sensor packet after every frame and a GPS-like packet after every
// tenth. Returns the packets in the order written with the time each must be read with.
struct WrittenPacket {
    std::string bytes;
    std::uint32_t time;
};

inline std::vector<WrittenPacket> WriteSmallAvi(const std::string& path, const SmallAviShape& shape) {
    std::vector<AviStreamSpec> streams;
    for (int i = 0; i < shape.videoStreams; ++i) {
        AviStreamSpec v;
        v.header.type = kFccVids;
        v.header.handler = kFccH264;
        v.header.scale = 1;
        v.header.rate = shape.fps;
        v.format = MakeBitmapInfoHeader(320, 180, kFccH264);
        streams.push_back(v);
    }
    if (shape.sound) {
        AviStreamSpec a;
        a.header.type = kFccAuds;
        a.header.scale = 2;
        a.header.rate = 44100;
        a.header.sampleSize = 2;
        a.format = MakeWaveFormat(kWaveFormatPcm, 1, 22050, 44100, 2, 16, {}, true);
        a.chunkType[0] = 'w';
        a.chunkType[1] = 'b';
        streams.push_back(a);
    }
    AviStreamSpec t;
    t.header.type = kFccTxts;
    t.header.scale = 1;
    t.header.rate = 10;
    t.format = {0, 0, 0, 0};
    t.chunkType[0] = 't';
    t.chunkType[1] = 'x';
    streams.push_back(t);
    const int textStream = static_cast<int>(streams.size()) - 1;

    AviWriter w;
    AviMainHeader main;
    main.microSecPerFrame = 1000000 / shape.fps;
    main.flags = kAvifHasIndex | kAvifIsInterleaved;
    if (!w.Open(path, main, streams)) return {};
    std::vector<WrittenPacket> packets;
    for (int k = 0; k < shape.frames; ++k) {
        // A key frame's data starts with a start code and an SPS header; odd sizes test padding.
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(37 + k % 5), static_cast<std::uint8_t>(k));
        frame[0] = frame[1] = frame[2] = 0;
        frame[3] = 1;
        frame[4] = k % 10 == 0 ? 0x67 : 0x41;
        for (int v = 0; v < shape.videoStreams; ++v) w.WriteChunk(v, frame, k % 10 == 0);
        if (shape.sound) w.WriteChunk(shape.videoStreams, std::vector<std::uint8_t>(4410, 0), true);
        const std::uint32_t time = static_cast<std::uint32_t>(k) * 1000 / shape.fps;
        std::string m = {'M', static_cast<char>(k), static_cast<char>(2 * k), static_cast<char>(3 * k)};
        w.WriteChunk(textStream, std::vector<std::uint8_t>(m.begin(), m.end()), true);
        packets.push_back({m, time});
        if (k % 10 == 0) {
            const std::string g = "GPRMC,00000" + std::to_string(k / 10) + ".00,A,3730.5,N,12658.68,E,10.0,0.0,070324";
            w.WriteChunk(textStream, std::vector<std::uint8_t>(g.begin(), g.end()), true);
            packets.push_back({g, time});
        }
    }
    if (shape.finish) w.Finish();
    else w.Abandon();
    return packets;
}

}  // namespace kx::test
