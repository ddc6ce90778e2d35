#include "RecordingTelemetry.h"

#include "app/avi/TextPacketReader.h"

namespace kx::tool {

std::optional<RecordingTelemetry> ReadRecordingTelemetry(const std::string& path, std::string& error) {
    std::string why;
    const auto source = FileByteSource::Open(path, &why);
    if (!source) {
        error = path + ": " + why;
        return std::nullopt;
    }
    auto info = ReadAviFile(*source, why);
    if (!info) {
        error = path + ": not a readable recording (" + why + ")";
        return std::nullopt;
    }
    RecordingTelemetry result;
    result.info = *info;
    TextPacketReader reader(*source, std::move(*info));
    result.indexed = reader.UsesIndex();
    std::uint8_t buffer[kTelemetryPacketBytes];
    for (;;) {
        std::uint32_t length = sizeof buffer;
        std::uint32_t time = 0;
        if (reader.Next(buffer, length, time) != kTextPacketOk) break;
        const std::size_t gps = result.load.gps.size();
        const std::size_t gsensor = result.load.gsensor.size();
        HandleTelemetryPacket(result.load, buffer, length, time);
        if (result.load.gps.size() > gps) result.order += 'G';
        if (result.load.gsensor.size() > gsensor) result.order += 'M';
        ++result.packets;
    }
    return result;
}

}  // namespace kx::tool
