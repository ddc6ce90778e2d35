// kx480-tool info FILE: a recording's shape (streams, frames, length, finished or cut off) and
// a summary of its telemetry.

#include "ArgParser.h"
#include "RecordingTelemetry.h"
#include "ToolCommands.h"
#include "telemetry/TelemetryLookup.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace kx::tool {

namespace {

const char* StreamKind(const AviStreamHeader& h) {
    if (h.type == kFccVids) return "video";
    if (h.type == kFccAuds) return "sound";
    if (h.type == kFccTxts) return "text";
    return "other";
}

}  // namespace

int InfoCommand(const Args& args) {
    ArgParser p(args, {}, {});
    if (!p.ok() || p.positional().size() != 1) {
        std::cerr << "usage: kx480-tool info FILE\n";
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];
    std::string error;
    const auto t = ReadRecordingTelemetry(path, error);
    if (!t) {
        std::cerr << "kx480-tool: " << error << '\n';
        return kExitUnreadable;
    }
    const AviFileInfo& info = t->info;
    std::printf("%s\n", path.c_str());
    std::printf("  state: %s, %llu bytes, %s\n", info.Unfinished() ? "cut off (unfinished)" : "complete",
                static_cast<unsigned long long>(info.fileSize), info.indexOffset ? "indexed" : "no index");
    for (std::size_t i = 0; i < info.streams.size(); ++i) {
        const AviStreamHeader& h = info.streams[i].header;
        std::printf("  stream %02zu: %-5s %s scale %u rate %u length %u\n", i, StreamKind(h),
                    FourCCText(h.handler).c_str(), h.scale, h.rate, h.length);
    }

    const auto& gps = t->load.gps;
    const auto& g = t->load.gsensor;
    const auto valid = std::count_if(gps.begin(), gps.end(), [](const CGPSData& r) { return r.valid != 0; });
    double topSpeed = 0, peakG = 0;
    for (const auto& r : gps) topSpeed = std::max(topSpeed, r.valid ? r.speed : 0.0);
    for (const auto& r : g) peakG = std::max({peakG, r.x * kGPerUnit, r.y * kGPerUnit, r.z * kGPerUnit});
    std::printf("  telemetry: %zu packets, %zu GPS fixes (%ld valid), %zu G-sensor samples\n", t->packets,
                gps.size(), static_cast<long>(valid), g.size());
    if (!gps.empty() || !g.empty()) {
        const std::uint32_t last = std::max(gps.empty() ? 0u : gps.back().time, g.empty() ? 0u : g.back().time);
        std::printf("  last packet at %u ms, top speed %.1f km/h, peak axis %.2f g\n", last, topSpeed, peakG);
    }
    return kExitOk;
}

}  // namespace kx::tool
