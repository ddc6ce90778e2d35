// kx480-tool: the viewer's operations from a shell, for batch work on card dumps and for
// tests and benchmarks that need no window.

#include "MediaCommands.h"
#include "ToolCommands.h"

#include <iostream>
#include <map>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: kx480-tool COMMAND ...\n"
    "commands:\n"
    "  gen PATH [options]                 write a recording as the camera does (gen --help)\n"
    "  info FILE                          the recording as the player opens it (key=value lines)\n"
    "  frame FILE --at MS [--channel 0|1] [--brightness L] [--mirror] -o OUT.png|OUT.jpg\n"
    "                                     the picture a channel shows at a position\n"
    "  report FILE --at MS -o OUT.pdf [--model N]\n"
    "                                     the viewer's two-page report of a moment, as PDF\n"
    "  telemetry FILE [--format csv|gpx|json]\n"
    "                                     every telemetry record in stream order\n"
    "  lookup FILE --at MS [--miles]      speed, G-sensor and position shown at a position\n"
    "  repair FILE OUTDIR                 rebuild a cut-off or silent recording in OUTDIR;\n"
    "                                     prints the file to play\n"
    "  gen-card IMAGE [--size 2G] [--recordings N] [--root DIR] [--seconds S]\n"
    "                                     a camera card image with recordings of every kind\n"
    "  card ls IMAGE [FOLDER]             the recordings on a card (folder/name, bytes, id)\n"
    "  card cp IMAGE FOLDER/NAME OUT      copy a recording off a card\n"
    "  card format IMAGE [--label NAME] [--program-folder DIR]\n"
    "                                     format a card image as the settings dialog does,\n"
    "                                     keeping setup.cfg and the installer on it\n"
    "  list FOLDER|FILE... | --card IMAGE the playlist rows the viewer shows for a source\n"
    "  setup read FILE                    the camera settings of a setup.cfg (key=value lines)\n"
    "  setup write FILE [key=value...]    a setup.cfg of the camera defaults with the given values\n"
    "  clock read FILE                    the camera clock a time.cfg sets (key=value lines)\n"
    "  clock write FILE \"YYYY-MM-DD hh:mm:ss\"\n"
    "                                     a time.cfg that sets the camera clock\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace kx::tool;
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"telemetry", TelemetryCommand}, {"lookup", LookupCommand}, {"repair", RepairCommand},
        {"card", CardCommand}, {"list", ListCommand},
        {"setup", SetupCommand}, {"clock", ClockCommand}};
    const std::string command = argc >= 2 ? argv[1] : "";
    if (command == "--help" || command == "help") {
        std::cout << kUsage;
        return kExitOk;
    }
    const Args args(argv + 2, argv + argc);
    if (IsMediaCommand(command)) return RunMediaCommand(command, args);
    if (IsReportCommand(command)) return RunReportCommand(command, args);
    if (commands.count(command) == 0) {
        if (!command.empty()) std::cerr << "kx480-tool: unknown command " << command << '\n';
        std::cerr << kUsage;
        return kExitFailure;
    }
    return commands.at(command)(args);
}
