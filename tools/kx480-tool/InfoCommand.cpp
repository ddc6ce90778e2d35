// kx480-tool info FILE: a recording as the player opens it, as key=value lines: its pins, length,
// frames per video pin, sound, and the telemetry pulled through the parse stage.

#include "ArgParser.h"
#include "HiddenWindow.h"
#include "ToolCommands.h"
#include "app/avi/AviFormat.h"
#include "playback/CPlaybackGraph.h"
#include "playback/PinCount.h"
#include "playback/StreamParseFilter.h"
#include "playback/TelemetryPull.h"

#include <cstdio>
#include <iostream>

namespace kx::tool {

namespace {

std::string SoundText(const OutputPin& pin) {
    std::string codec;
    if (pin.formatTag == kWaveFormatAac) codec = "aac";
    else if (pin.formatTag == kWaveFormatPcm) codec = "pcm";
    else {
        char tag[16];
        std::snprintf(tag, sizeof tag, "0x%04x", pin.formatTag);
        codec = tag;
    }
    return codec + "," + std::to_string(pin.sampleRate) + "," + std::to_string(pin.channels);
}

}  // namespace

int InfoCommand(const Args& args) {
    ArgParser p(args, {}, {});
    if (!p.ok() || p.positional().size() != 1) {
        std::cerr << "usage: kx480-tool info FILE\n";
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];
    HiddenPlayer hidden;
    CPlaybackGraph& player = hidden.player;
    if (!hidden.Open(path)) {
        std::cerr << "kx480-tool: cannot open " << path << " as a recording\n";
        return kExitUnreadable;
    }
    StreamParseFilter& parse = *player.MediaGraph()->ParseFilter();
    std::printf("file=%s\n", path.c_str());
    std::printf("video_pins=%d\n", CountVideoPins(parse));
    std::printf("audio_pins=%d\n", CountAudioPins(parse));
    std::printf("duration_ms=%llu\n", static_cast<unsigned long long>(player.GetDurationMs()));
    int video = 0;
    std::string sound = "none";
    for (const OutputPin& pin : parse.Pins()) {
        if (pin.media == PinMedia::Video)
            std::printf("frames_%d=%llu\n", video++, static_cast<unsigned long long>(pin.chunks));
        else if (pin.media == PinMedia::Audio && sound == "none")
            sound = SoundText(pin);
    }
    std::printf("audio=%s\n", sound.c_str());
    std::printf("state=%s\n", parse.FileInfo().Unfinished() ? "cut" : "complete");
    std::printf("index=%s\n", parse.Index().FromIdx1() ? "idx1" : "walk");

    TelemetryLoad load;
    const TelemetryPullResult pulled = PullTelemetry(player, load, nullptr, std::chrono::milliseconds(0));
    std::printf("text_packets=%zu\n", pulled.packets);
    std::printf("gps_fixes=%zu\n", load.gps.size());
    std::printf("gsensor_samples=%zu\n", load.gsensor.size());
    return kExitOk;
}

}  // namespace kx::tool
