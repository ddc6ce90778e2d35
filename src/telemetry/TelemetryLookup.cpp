#include "telemetry/TelemetryLookup.h"

#include "app/core/ViewerOptions.h"

#include <algorithm>
#include <cmath>

namespace kx {

template <class Record>
const Record* WalkRecordAt(const std::vector<Record>& records, std::uint32_t time) {
    for (const Record& r : records)
        if (r.time >= time) return &r;
    return nullptr;
}

template <class Record>
const Record* FindRecordAt(const TrackSnapshot<Record>& track, std::uint32_t time) {
    if (!track.nonDecreasing) return WalkRecordAt(track.records, time);
    // With non-decreasing stamps the first record at or after `time` is the lower bound.
    const auto it = std::lower_bound(track.records.begin(), track.records.end(), time,
                                     [](const Record& r, std::uint32_t t) { return r.time < t; });
    return it == track.records.end() ? nullptr : &*it;
}

template const CGPSData* WalkRecordAt(const std::vector<CGPSData>&, std::uint32_t);
template const CGSensorData* WalkRecordAt(const std::vector<CGSensorData>&, std::uint32_t);
template const CGPSData* FindRecordAt(const TrackSnapshot<CGPSData>&, std::uint32_t);
template const CGSensorData* FindRecordAt(const TrackSnapshot<CGSensorData>&, std::uint32_t);

double NmeaToDegrees(double value) {
    const double v = value * 0.01;
    const double d = std::trunc(v);
    return d + (v - d) * 100 / 60;
}

bool FindSpeedAt(std::uint32_t time, double& speed) {
    speed = 0;
    const auto track = GpsTrack.Get();
    const CGPSData* r = FindRecordAt(*track, time);
    if (!r || !r->valid) return false;
    speed = TheViewerOptions().speedInMiles ? r->speed * kMilesPerKilometre : r->speed;
    return true;
}

bool FindGsensorAt(std::uint32_t time, double& x, double& y, double& z) {
    x = y = z = 0;
    const auto track = GsensorTrack.Get();
    const CGSensorData* r = FindRecordAt(*track, time);
    if (!r) return false;
    x = r->x * kGPerUnit;
    y = r->y * kGPerUnit;
    z = r->z * kGPerUnit;
    return true;
}

bool FindPositionAt(std::uint32_t time, float& latitude, float& longitude) {
    latitude = longitude = 0;
    const auto track = GpsTrack.Get();
    const CGPSData* r = FindRecordAt(*track, time);
    if (!r || !r->valid) return false;
    latitude = static_cast<float>(NmeaToDegrees(r->latitude));
    longitude = static_cast<float>(NmeaToDegrees(r->longitude));
    return true;
}

}  // namespace kx
