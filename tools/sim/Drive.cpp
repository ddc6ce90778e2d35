#include "sim/Drive.h"

#include "sim/CameraTime.h"
#include "sim/SplitMix64.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace kx::sim {

namespace {

// Fractions of the recording's length where the phases of the drive begin.
constexpr double kPullAway = 0.10;
constexpr double kCruise = 0.45;
constexpr double kBrake = 0.78;
constexpr double kStopped = 0.90;

constexpr double kMetresPerDegreeLatitude = 111320.0;
constexpr double kKmhPerKnot = 1.852;
constexpr double kStandardGravity = 9.80665;
constexpr int kCountsPerG = 32;  // G-sensor readings are in 1/32 g
constexpr int kRestZ = 30;       // stored byte for 1 g straight down (reading 31/32)
constexpr double kBrakeCounts = 16;   // about 0.5 g at the hardest moment
constexpr double kPullAwayCounts = 5;  // about 0.15 g
constexpr std::uint64_t kDrivePurpose = 1;

double SmoothStep(double s) {
    s = std::clamp(s, 0.0, 1.0);
    return s * s * (3 - 2 * s);
}

// 0 outside [begin, end), rising to 1 in the middle.
double Bell(double u, double begin, double end) {
    if (u < begin || u >= end) return 0;
    const double s = (u - begin) / (end - begin);
    return 4 * s * (1 - s);
}

std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// ddmm.mmmm or dddmm.mmmm, rounded to the fourth decimal of the minutes.
std::string NmeaAngle(double degrees, int degreeDigits) {
    const long long units = std::llround(std::fabs(degrees) * 600000.0);  // 1/10000 minute
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, units / 600000, units % 600000 / 10000,
                  units % 10000);
    return text;
}

}  // namespace

Drive::Drive(std::uint64_t seed, double seconds) : seconds_(std::max(seconds, 0.001)) { BuildTicks(seed); }

double Drive::SpeedKmhAt(double seconds) const {
    const double u = seconds / seconds_;
    if (u < kPullAway) return 0;
    if (u < kCruise) return topSpeedKmh_ * SmoothStep((u - kPullAway) / (kCruise - kPullAway));
    if (u < kBrake)
        return topSpeedKmh_ + 3 * std::sin(2 * std::numbers::pi * 2 * (u - kCruise) / (kBrake - kCruise));
    return topSpeedKmh_ * (1 - SmoothStep((u - kBrake) / (kStopped - kBrake)));
}

double Drive::TurnRateAt(double seconds, double speedKmh) const {
    // A standing car does not turn; at walking pace it turns a little.
    const double moving = std::min(1.0, speedKmh / 20);
    return moving * turnAmplitudeDegPerS_ * std::sin(2 * std::numbers::pi * seconds / turnPeriodS_ + turnPhase_);
}

void Drive::BuildTicks(std::uint64_t seed) {
    SplitMix64 random(seed, kDrivePurpose);
    topSpeedKmh_ = random.Range(100, 107);  // cruising adds up to 3 km/h
    turnAmplitudeDegPerS_ = random.Range(1, 3);
    turnPeriodS_ = random.Range(30, 90);
    turnPhase_ = random.Range(0, 2 * std::numbers::pi);

    const auto count = static_cast<std::size_t>(std::ceil(seconds_ * kTicksPerSecond)) + 2;
    // Bumps in the road while the car moves: one, and one more for every further 20 s.
    std::vector<std::size_t> bumps;
    for (int i = 0; i < 1 + static_cast<int>(seconds_ / 20); ++i)
        bumps.push_back(static_cast<std::size_t>(random.Range(0.2, 0.75) * seconds_ * kTicksPerSecond));

    DriveState state;
    state.courseDeg = random.Range(0, 360);
    state.latitude = 37 + 30.5 / 60 + random.Range(-0.0005, 0.0005);
    state.longitude = 126 + 58.68 / 60 + random.Range(-0.0005, 0.0005);
    const double dt = 1.0 / kTicksPerSecond;
    ticks_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) * dt;
        state.speedKmh = SpeedKmhAt(t);
        state.turnRateDegPerS = TurnRateAt(t, state.speedKmh);
        Tick& tick = ticks_[i];
        tick.state = state;

        const double u = t / seconds_;
        const double speedMs = state.speedKmh / 3.6;
        const double lateralG = std::fabs(speedMs * state.turnRateDegPerS * std::numbers::pi / 180) / kStandardGravity;
        double z = kRestZ + static_cast<double>(random.Next() % 3) - 1;
        for (std::size_t b : bumps) {
            if (i == b) z += 14;
            if (i == b + 1) z -= 11;
            if (i == b + 2) z += 4;
        }
        tick.gsensor = {ToByte(static_cast<double>(random.Next() % 2) + kBrakeCounts * Bell(u, kBrake, kStopped) +
                               kPullAwayCounts * Bell(u, kPullAway, kCruise)),
                        ToByte(static_cast<double>(random.Next() % 2) + lateralG * kCountsPerG), ToByte(z)};

        // Advance to the next tick at the speed and course of its middle.
        const double midSpeedMs = SpeedKmhAt(t + dt / 2) / 3.6;
        const double midCourse = state.courseDeg + TurnRateAt(t + dt / 2, midSpeedMs * 3.6) * dt / 2;
        const double step = midSpeedMs * dt;
        const double course = midCourse * std::numbers::pi / 180;
        state.distanceM += step;
        state.latitude += step * std::cos(course) / kMetresPerDegreeLatitude;
        state.longitude += step * std::sin(course) /
                           (kMetresPerDegreeLatitude * std::cos(state.latitude * std::numbers::pi / 180));
        state.courseDeg += TurnRateAt(t + dt / 2, midSpeedMs * 3.6) * dt;
    }
}

DriveState Drive::At(double seconds) const {
    const double position = std::clamp(seconds, 0.0, static_cast<double>(ticks_.size() - 2) / kTicksPerSecond) *
                            kTicksPerSecond;
    const auto i = static_cast<std::size_t>(position);
    const double f = position - static_cast<double>(i);
    const DriveState& a = ticks_[i].state;
    const DriveState& b = ticks_[i + 1].state;
    auto mix = [f](double x, double y) { return x + (y - x) * f; };
    DriveState s;
    s.speedKmh = SpeedKmhAt(seconds);
    s.courseDeg = mix(a.courseDeg, b.courseDeg);
    s.latitude = mix(a.latitude, b.latitude);
    s.longitude = mix(a.longitude, b.longitude);
    s.distanceM = mix(a.distanceM, b.distanceM);
    s.turnRateDegPerS = mix(a.turnRateDegPerS, b.turnRateDegPerS);
    return s;
}

std::array<std::uint8_t, 4> Drive::GsensorPacket(std::uint32_t tick) const {
    const auto& g = ticks_[std::min<std::size_t>(tick, ticks_.size() - 1)].gsensor;
    return {static_cast<std::uint8_t>('M'), g[0], g[1], g[2]};
}

std::string Drive::GpsPacket(std::uint32_t second, std::int64_t startLocal, bool fix) const {
    const CivilTime utc = ToCivil(startLocal + second - kCameraAheadOfUtcSeconds);
    char time[16];
    char date[16];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", utc.hour, utc.minute, utc.second);
    std::snprintf(date, sizeof date, "%02d%02d%02d", utc.day, utc.month, utc.year % 100);
    if (!fix) return std::string("GPRMC,") + time + ",V,,,,,,," + date;

    const DriveState& s = ticks_[std::min<std::size_t>(std::size_t{second} * kTicksPerSecond, ticks_.size() - 1)].state;
    double course = std::fmod(s.courseDeg, 360.0);
    if (course < 0) course += 360;
    course = std::round(course * 10) / 10;
    if (course >= 360) course -= 360;
    char motion[48];
    std::snprintf(motion, sizeof motion, "%.1f,%.1f", s.speedKmh / kKmhPerKnot, course);
    return std::string("GPRMC,") + time + ",A," + NmeaAngle(s.latitude, 2) + (s.latitude < 0 ? ",S," : ",N,") +
           NmeaAngle(s.longitude, 3) + (s.longitude < 0 ? ",W," : ",E,") + motion + "," + date;
}

}  // namespace kx::sim
