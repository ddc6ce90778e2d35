#include "playback/TelemetryPull.h"

#include "app/core/DebugLog.h"

#include <array>
#include <thread>

namespace kx {

TelemetryPullResult PullTelemetry(CPlaybackGraph& graph, TelemetryLoad& load, const std::atomic<bool>* cancel,
                                  std::chrono::milliseconds pause) {
    TelemetryPullResult result;
    std::array<std::uint8_t, kTelemetryPacketBytes> buffer;
    int failures = 0;
    while (!(cancel && cancel->load())) {
        buffer.fill(0);
        std::uint32_t length = kTelemetryPacketBytes;
        std::uint32_t time = 0;
        const HResult hr = graph.NextTextPacket(buffer.data(), length, time);
        if (hr == kNoMoreTextPackets) {
            result.reachedEnd = true;
            break;
        }
        if (hr == kTextPacketDelivered) {
            failures = 0;
            HandleTelemetryPacket(load, buffer.data(), length, time);
            ++result.packets;
        } else if (++failures > kTelemetryPullRetries) {
            DebugLog("telemetry: gave up after %d failed pulls (0x%08X)", kTelemetryPullRetries, hr);
            break;
        }
        if (pause.count() > 0) std::this_thread::sleep_for(pause);
    }
    return result;
}

}  // namespace kx
