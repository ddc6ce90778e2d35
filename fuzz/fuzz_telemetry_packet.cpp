// Telemetry packets of any content and length.
#include "telemetry/TelemetryPacket.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    kx::TelemetryLoad load;
    kx::HandleTelemetryPacket(load, data, size, 1000);
    if (load.gps.size() + load.gsensor.size() > 1) std::abort();
    kx::CGPSData record;
    kx::ParseGpsPacket(record, 0, std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
