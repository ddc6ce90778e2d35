#pragma once
// Reading every telemetry packet of a recording file, as the viewer does when it opens one.

#include "app/avi/AviReader.h"
#include "telemetry/TelemetryPacket.h"

#include <optional>
#include <string>

namespace kx::tool {

struct RecordingTelemetry {
    AviFileInfo info;
    TelemetryLoad load;
    std::string order;     // 'G' or 'M' per record, in stream order (the two lists interleave)
    std::size_t packets = 0;
    bool indexed = false;  // found through idx1 rather than by walking the chunks
};

// nullopt with `error` set when the file is not a readable recording.
std::optional<RecordingTelemetry> ReadRecordingTelemetry(const std::string& path, std::string& error);

}  // namespace kx::tool
