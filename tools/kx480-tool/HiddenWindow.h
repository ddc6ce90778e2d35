#pragma once
// What the commands that open a recording through the player share: channel windows nobody
// looks at, and the "-o OUT" option, which is not a long option.

#include "ToolCommands.h"
#include "playback/CPlaybackGraph.h"
#include "playback/VideoSink.h"

#include <string>

namespace kx::tool {

// The player converts nothing for it; a grab converts the picture at its own size.
class HiddenWindow final : public VideoSink {
public:
    VideoSize Size() const override { return {}; }
    void Present(const VideoPicture&) override {}
};

// A player over two hidden windows that opens a recording on disk as the viewer's opener does.
struct HiddenPlayer {
    HiddenWindow front, rear;
    CPlaybackGraph player{CPlaybackGraph::RegistryMark::Skip};

    bool Open(const std::string& path) {
        player.AttachWindows(&front, &rear);
        player.SetOption(0);
        return player.OpenRecording(path, 0, -1);
    }
};

// The arguments without "-o"/"--output" and its value, which goes to `out`.
inline Args TakeOutputOption(const Args& args, std::string& out) {
    Args rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) out = args[++i];
        else rest.push_back(args[i]);
    }
    return rest;
}

}  // namespace kx::tool
