#pragma once
// Finding the record for a playing position: the first record whose time stamp is at or after
// the position, with no interpolation. A position before the first record gives the first
// record; a position after the last gives nothing. GPS lookups answer false for a fix that is
// not valid, without trying another.

#include "telemetry/TelemetryTrack.h"

#include <cstdint>

namespace kx {

// The first record at or after `time`: binary search when the time stamps do not decrease,
// otherwise a walk from the start. nullptr when none qualifies.
template <class Record>
const Record* FindRecordAt(const TrackSnapshot<Record>& track, std::uint32_t time);

// The plain walk from the first record, whatever the order of the time stamps.
template <class Record>
const Record* WalkRecordAt(const std::vector<Record>& records, std::uint32_t time);

// Speed in km/h, or mph when the viewer options ask for miles.
bool FindSpeedAt(std::uint32_t time, double& speed);
// Axis values in g.
bool FindGsensorAt(std::uint32_t time, double& x, double& y, double& z);
// Decimal degrees, single precision.
bool FindPositionAt(std::uint32_t time, float& latitude, float& longitude);

// ddmm.mmmm (or dddmm.mmmm) to decimal degrees; negative values convert symmetrically.
double NmeaToDegrees(double value);

inline constexpr double kMilesPerKilometre = 0.621371;
inline constexpr double kGPerUnit = 0.03125;  // G-sensor readings are in 1/32 g

}  // namespace kx
