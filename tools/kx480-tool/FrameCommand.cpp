// kx480-tool frame FILE --at MS [--channel 0|1] [--brightness L] [--mirror] -o OUT.png|OUT.jpg:
// the picture a channel shows at a position, taken as the viewer's capture takes it: the
// recording opened through the player, paused, sought to the position, grabbed at the
// channel's own size.

#include "ArgParser.h"
#include "HiddenWindow.h"
#include "StillImageFile.h"
#include "ToolCommands.h"
#include "playback/CPlaybackGraph.h"
#include "playback/VideoDecoder.h"

#include <iostream>

namespace kx::tool {

namespace {

constexpr const char* kUsage =
    "usage: kx480-tool frame FILE --at MS [--channel 0|1] [--brightness L] [--mirror] -o OUT.png|OUT.jpg\n";
constexpr int kPictureWaitMs = 10000;

}  // namespace

int FrameCommand(const Args& args) {
    std::string out;
    const Args rest = TakeOutputOption(args, out);
    ArgParser p(rest, {"at", "channel", "brightness"}, {"mirror"});
    const long long at = ParseWholeNumber(p.value("at").value_or("")).value_or(-1);
    const long long channel = ParseWholeNumber(p.value("channel").value_or("0")).value_or(-1);
    const auto brightness = ParseWholeNumber(p.value("brightness").value_or("0"));
    if (!p.ok() || p.positional().size() != 1 || out.empty() || at < 0 || at > INT32_MAX || channel < 0 ||
        channel > 1 || !brightness || *brightness < -kMaxBrightness || *brightness > kMaxBrightness) {
        if (!p.ok()) std::cerr << "kx480-tool frame: " << p.error() << '\n';
        std::cerr << kUsage;
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];

    HiddenPlayer hidden;
    CPlaybackGraph& player = hidden.player;
    if (!hidden.Open(path)) {
        std::cerr << "kx480-tool frame: cannot open " << path << " as a recording\n";
        return kExitFailure;
    }
    const int k = static_cast<int>(channel) + 1;
    if (player.MediaGraph()->Decoder(k) == nullptr) {
        std::cerr << "kx480-tool frame: " << path << " has no channel " << channel << '\n';
        return kExitFailure;
    }
    player.PutDecoderParam(k, kParamPictureAdjust, 1);
    player.PutDecoderParam(k, kParamBrightness, static_cast<int>(*brightness));
    player.PutDecoderParam(k, kParamFlip, 1);
    player.PutDecoderParam(k, kParamMirror, p.flag("mirror") ? 1 : 0);
    player.Run();
    player.Pause();
    player.SeekMs(static_cast<int>(at));
    ChannelImage image;
    if (!player.MediaGraph()->WaitForPictures(kPictureWaitMs) ||
        !player.GrabChannelImage(static_cast<int>(channel), image)) {
        std::cerr << "kx480-tool frame: channel " << channel << " of " << path << " shows no picture at " << at
                  << " ms\n";
        return kExitFailure;
    }
    std::string error;
    if (!WriteStillImage(out, image, error)) {
        std::cerr << "kx480-tool frame: " << error << '\n';
        return kExitFailure;
    }
    std::cout << "frame=" << out << " width=" << image.width << " height=" << image.height
              << " position_ms=" << player.GetPositionMs() << '\n';
    return kExitOk;
}

}  // namespace kx::tool
