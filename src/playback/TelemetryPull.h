#pragma once
// The pull of a recording's telemetry after it was opened: every packet through the parse
// stage's NextTextPacket into a fresh load, which the caller then publishes in one step.

#include "playback/CPlaybackGraph.h"
#include "telemetry/TelemetryPacket.h"

#include <atomic>
#include <chrono>
#include <cstddef>

namespace kx {

// Results other than a packet and the end are tried again after the pause, at most this many
// times in a row; then the pull gives up.
inline constexpr int kTelemetryPullRetries = 250;

struct TelemetryPullResult {
    std::size_t packets = 0;
    bool reachedEnd = false;  // false: gave up after the retries, or cancelled
};

// Repeats until the end: a zeroed 1024-byte buffer, NextTextPacket, and a delivered packet
// goes with its time to HandleTelemetryPacket; after each call the pull rests for `pause`
// (1 ms keeps it from competing with the playback it runs beside). `cancel` stops it early.
TelemetryPullResult PullTelemetry(CPlaybackGraph& graph, TelemetryLoad& load, const std::atomic<bool>* cancel = nullptr,
                                  std::chrono::milliseconds pause = std::chrono::milliseconds(1));

}  // namespace kx
