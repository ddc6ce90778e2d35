#pragma once
// The two kinds of telemetry record a recording carries: G-sensor samples ('M' packets) and
// GPS fixes ('G' packets, the fields of an NMEA RMC sentence).

#include <cstdint>

namespace kx {

// One G-sensor sample. Each axis is the packet's unsigned byte plus 1 (1..256), in 1/32 g.
struct CGSensorData {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::uint32_t time = 0;  // milliseconds from the start of the recording
};

// One GPS fix as the packet gives it. A default-made record has every field zero.
struct CGPSData {
    std::int32_t year = 0;     // two-digit year as in the packet
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t hour = 0;     // the packet's (UTC) hour plus 9, not wrapped: 9..32
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t valid = 0;    // 1 when the status field begins with 'A'
    double latitude = 0;       // ddmm.mmmm as written, negative unless north
    double longitude = 0;      // dddmm.mmmm as written, negative unless east
    double speed = 0;          // km/h, single-precision rounded; 0 at 1 knot or less
    double course = 0;         // degrees, single-precision rounded
    std::int64_t timestamp = 0;  // calendar seconds of the date and hour fields, as local time
    std::uint32_t time = 0;    // milliseconds from the start of the recording
};

}  // namespace kx
