#pragma once
// The camera's clock: local time as "YYYY-MM-DD hh:mm:ss", counted here in seconds from
// 1970-01-01 00:00:00 of the same clock, with no time zone or daylight saving involved. The
// GPS receiver reports UTC, nine hours behind the camera's clock.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kx::sim {

inline constexpr std::int64_t kCameraAheadOfUtcSeconds = 9 * 3600;

struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Years 1970 to 2069: the range the viewer reads back from a two-digit GPS year.
std::optional<std::int64_t> ParseCameraTime(std::string_view text);
CivilTime ToCivil(std::int64_t seconds);

}  // namespace kx::sim
