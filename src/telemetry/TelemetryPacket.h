#pragma once
// Telemetry packets: the first byte names the kind. 'M': a G-sensor sample of three unsigned
// bytes. 'G': the comma-separated fields of an NMEA RMC sentence after its name. Other
// packets are ignored.

#include "telemetry/TelemetryRecords.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kx {

// A packet is read from a 1024-byte buffer: anything past that is not part of it.
inline constexpr std::size_t kTelemetryPacketBytes = 1024;

// The lists of one recording while they are being filled, before they are published.
struct TelemetryLoad {
    std::vector<CGPSData> gps;
    std::vector<CGSensorData> gsensor;
};

// Appends the record of one packet to `load` (nothing for an unknown or empty packet).
// Returns 0 in every case.
int HandleTelemetryPacket(TelemetryLoad& load, const std::uint8_t* packet, std::size_t size,
                          std::uint32_t time);

// Fills `record` from the text of a 'G' packet (up to its first zero byte, at most 1023
// characters) and stores `time` in it. True when all ten fields were present; fields that were
// not reached keep their values.
bool ParseGpsPacket(CGPSData& record, std::uint32_t time, std::string_view text);

// Hands a filled load to the process-wide lists in one step.
void PublishTelemetry(TelemetryLoad&& load);

}  // namespace kx
