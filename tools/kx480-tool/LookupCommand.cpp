// kx480-tool lookup FILE --at MS [--miles]: the panel values at a playing position, found the
// way the viewer's position timer finds them.

#include "ArgParser.h"
#include "RecordingTelemetry.h"
#include "ToolCommands.h"
#include "app/core/ViewerOptions.h"
#include "telemetry/TelemetryLookup.h"

#include <cstdio>
#include <iostream>

namespace kx::tool {

int LookupCommand(const Args& args) {
    ArgParser p(args, {"at"}, {"miles"});
    const long long at = ParseWholeNumber(p.value("at").value_or("")).value_or(-1);
    if (!p.ok() || p.positional().size() != 1 || at < 0 || at > UINT32_MAX) {
        std::cerr << "usage: kx480-tool lookup FILE --at MS [--miles]\n";
        return kExitFailure;
    }
    std::string error;
    auto t = ReadRecordingTelemetry(p.positional()[0], error);
    if (!t) {
        std::cerr << "kx480-tool: " << error << '\n';
        return kExitUnreadable;
    }
    TheViewerOptions().speedInMiles = p.flag("miles");
    PublishTelemetry(std::move(t->load));

    const auto time = static_cast<std::uint32_t>(at);
    double speed = 0, x = 0, y = 0, z = 0;
    float lat = 0, lon = 0;
    const bool speedOk = FindSpeedAt(time, speed);
    const bool gOk = FindGsensorAt(time, x, y, z);
    const bool posOk = FindPositionAt(time, lat, lon);
    std::printf("speed=%.6f speed_ok=%d x=%.6f y=%.6f z=%.6f g_ok=%d lat=%.6f lon=%.6f pos_ok=%d\n", speed,
                speedOk, x, y, z, gOk, static_cast<double>(lat), static_cast<double>(lon), posOk);
    return kExitOk;
}

}  // namespace kx::tool
