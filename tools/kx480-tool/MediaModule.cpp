// The entry point of kx480-media.so: the commands that need FFmpeg.

#include "MediaCommands.h"

#include <map>

extern "C" __attribute__((visibility("default"))) int kx480_media_command(const char* command, int argc,
                                                                           const char* const* argv) {
    using namespace kx::tool;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"gen", GenCommand}, {"gen-card", GenCardCommand}, {"info", InfoCommand}, {"frame", FrameCommand}};
    const auto it = commands.find(command ? command : "");
    if (it == commands.end()) return kExitFailure;
    return it->second(Args(argv, argv + argc));
}
