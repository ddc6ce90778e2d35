#pragma once
// The drive a recording shows: standing still for the first tenth, accelerating to motorway
// speed, cruising along a slowly turning road, then braking to a stop, with bumps on the way.
// Everything is worked out in advance on the 100 ms grid of the G-sensor, so the pictures,
// the engine sound and the telemetry packets all describe the same drive.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kx::sim {

struct DriveState {
    double speedKmh = 0;
    double courseDeg = 0;  // 0 north, clockwise, not wrapped
    double latitude = 0;   // decimal degrees
    double longitude = 0;
    double distanceM = 0;  // from the start of the recording
    double turnRateDegPerS = 0;
};

class Drive {
public:
    static constexpr int kTicksPerSecond = 10;

    Drive(std::uint64_t seed, double seconds);

    DriveState At(double seconds) const;
    double SpeedKmhAt(double seconds) const;
    // 'M' and the X, Y, Z bytes of the G-sensor sample at `tick` x 100 ms.
    std::array<std::uint8_t, 4> GsensorPacket(std::uint32_t tick) const;
    // The RMC sentence of the fix at `second`, without "$" and checksum. `startLocal` is the
    // camera's clock at the start of the recording (see CameraTime.h). Without a fix the
    // receiver still knows the time but reports status V and no position.
    std::string GpsPacket(std::uint32_t second, std::int64_t startLocal, bool fix) const;

private:
    struct Tick {
        DriveState state;
        std::array<std::uint8_t, 3> gsensor{};
    };
    void BuildTicks(std::uint64_t seed);
    double TurnRateAt(double seconds, double speedKmh) const;

    double seconds_;
    double topSpeedKmh_ = 105;
    double turnAmplitudeDegPerS_ = 2;
    double turnPeriodS_ = 60;
    double turnPhase_ = 0;
    std::vector<Tick> ticks_;
};

}  // namespace kx::sim
