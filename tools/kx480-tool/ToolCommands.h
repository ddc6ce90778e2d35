#pragma once
// The commands of kx480-tool. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 bad usage or a failed operation, 2 a file that is not a readable
// recording.

#include <string>
#include <vector>

namespace kx::tool {

using Args = std::vector<std::string>;

int GenCommand(const Args& args);
int TelemetryCommand(const Args& args);
int LookupCommand(const Args& args);
int InfoCommand(const Args& args);
int FrameCommand(const Args& args);
int RepairCommand(const Args& args);
int GenCardCommand(const Args& args);
int CardCommand(const Args& args);
int ListCommand(const Args& args);
int SetupCommand(const Args& args);
int ClockCommand(const Args& args);

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUnreadable = 2;

}  // namespace kx::tool
