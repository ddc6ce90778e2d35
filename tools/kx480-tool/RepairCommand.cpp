// kx480-tool repair FILE OUTDIR: gets a recording ready to play as the viewer does for a card
// recording, with OUTDIR as the scratch folder; prints the file to play.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "app/avi/CardRecordingRebuild.h"

#include <filesystem>
#include <iostream>

namespace kx::tool {

int RepairCommand(const Args& args) {
    ArgParser p(args, {}, {});
    if (!p.ok() || p.positional().size() != 2) {
        std::cerr << "usage: kx480-tool repair FILE OUTDIR\n";
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];
    FileRecordingReader reader;
    if (!reader.Open(path)) {
        std::cerr << "kx480-tool repair: cannot open " << path << '\n';
        return kExitFailure;
    }
    const auto prepared = PrepareCardRecording(reader, std::filesystem::path(path).filename().string(), p.positional()[1]);
    switch (prepared.play) {
        case PreparedRecording::Play::Original: std::cout << path << '\n'; return kExitOk;
        case PreparedRecording::Play::Rebuilt: std::cout << prepared.path << '\n'; return kExitOk;
        case PreparedRecording::Play::Failed: break;
    }
    std::cerr << "kx480-tool repair: " << prepared.error << '\n';
    return kExitFailure;
}

}  // namespace kx::tool
