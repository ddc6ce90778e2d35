// lookup_speedup: the walk from the first record / the viewer's lookup, 100,000 G-sensor
// records, lookups at random positions.

#include "BenchTiming.h"
#include "telemetry/TelemetryLookup.h"

#include <cstdio>
#include <random>

int main() {
    using namespace kx;
    constexpr std::uint32_t kRecords = 100000;
    std::vector<CGSensorData> records(kRecords);
    for (std::uint32_t i = 0; i < kRecords; ++i) records[i] = {1, 1, 31, i * 100};
    GsensorTrack.Publish(records);
    const std::uint32_t last = records.back().time;

    std::mt19937 rng(42);
    std::vector<std::uint32_t> positions(4000);
    for (auto& p : positions) p = static_cast<std::uint32_t>(rng() % (last + 1));

    volatile double sink = 0;
    constexpr int kWalkLookups = 400;
    const double walk = bench::BestSeconds(5, [&] {
        for (int i = 0; i < kWalkLookups; ++i) sink = sink + WalkRecordAt(records, positions[static_cast<std::size_t>(i)])->z;
    }) / kWalkLookups;

    constexpr int kRepeats = 100;
    const double lookup = bench::BestSeconds(5, [&] {
        double x, y, z;
        for (int r = 0; r < kRepeats; ++r)
            for (std::uint32_t p : positions) {
                FindGsensorAt(p, x, y, z);
                sink = sink + z;
            }
    }) / (kRepeats * static_cast<double>(positions.size()));

    std::printf("lookup_speedup %.1f\n", walk / lookup);
    return 0;
}
