// Index and chunk walk: every packet handed out lies within the file and the buffer.
#include "app/avi/TextPacketReader.h"
#include "telemetry/TelemetryPacket.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    kx::MemoryByteSource source(data, size);
    std::string error;
    auto info = kx::ReadAviFile(source, error);
    if (!info) return 0;
    kx::TextPacketReader reader(source, std::move(*info));
    kx::TelemetryLoad load;
    std::uint8_t buffer[1024];
    std::size_t packets = 0;
    for (;;) {
        std::uint32_t length = sizeof buffer, time = 0;
        if (reader.Next(buffer, length, time) != kx::kTextPacketOk) break;
        if (length > sizeof buffer || ++packets > size) std::abort();
        kx::HandleTelemetryPacket(load, buffer, length, time);
    }
    return 0;
}
