#pragma once
// Commands that decode or encode media (and so need FFmpeg with its many libraries) live in a
// module loaded only when one of them runs, so that the card, file and telemetry commands
// start at once.

#include "ToolCommands.h"

#include <string>

namespace kx::tool {

// The module's file name, found beside the program.
inline constexpr char kMediaModuleName[] = "kx480-media.so";
// The module's entry point: runs `command` with its arguments; exit status as ToolCommands.h.
inline constexpr char kMediaEntryName[] = "kx480_media_command";
using MediaEntry = int (*)(const char* command, int argc, const char* const* argv);

bool IsMediaCommand(const std::string& command);
int RunMediaCommand(const std::string& command, const Args& args);

// The report command draws with Qt (and the web engine for the map picture): a module of its
// own, so the media commands do not load Qt.
inline constexpr char kReportModuleName[] = "kx480-report.so";
inline constexpr char kReportEntryName[] = "kx480_report_command";
bool IsReportCommand(const std::string& command);
int RunReportCommand(const std::string& command, const Args& args);

}  // namespace kx::tool
