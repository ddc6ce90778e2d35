#include "telemetry/TelemetryPacket.h"

#include "app/core/ViewerOptions.h"
#include "telemetry/DecimalText.h"
#include "telemetry/TelemetryTrack.h"

#include <ctime>

namespace kx {

namespace {

constexpr std::size_t kMaxGpsText = kTelemetryPacketBytes - 1;
constexpr int kFieldCount = 10;
constexpr int kHoursAhead = 9;  // the viewer shows the camera's local time: UTC plus 9 hours

// Two-digit piece `index` (0, 1, 2) of an hhmmss or ddmmyy field; 0 beyond the field's end.
int TwoDigits(std::string_view field, std::size_t index) {
    const std::size_t at = index * 2;
    if (at >= field.size()) return 0;
    return ParseLeadingInt(field.substr(at, 2));
}

double SinglePrecision(double value) { return static_cast<double>(static_cast<float>(value)); }

std::int64_t MakeLocalTime(const CGPSData& r, int minute, int second) {
    std::tm tm{};
    tm.tm_year = (r.year + 30) % 100 + 70;  // 70-99: 1970-1999, 00-69: 2000-2069
    tm.tm_mon = r.month - 1;
    tm.tm_mday = r.day;
    tm.tm_hour = r.hour;  // 24 and more roll over into the next day
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

// mktime consults the time zone database on every call; a recording has one fix a second, all
// in a few hours. The start of the fix's hour is converted once and the minutes and seconds
// added to it, which is what mktime gives for in-range minutes and seconds.
std::int64_t LocalCalendarSeconds(const CGPSData& r) {
    if (r.minute < 0 || r.minute > 59 || r.second < 0 || r.second > 59) return MakeLocalTime(r, r.minute, r.second);
    struct HourStart {
        std::int32_t year = -1, month = -1, day = -1, hour = -1;
        std::int64_t seconds = 0;
    };
    thread_local HourStart cached;
    if (cached.year != r.year || cached.month != r.month || cached.day != r.day || cached.hour != r.hour)
        cached = {r.year, r.month, r.day, r.hour, MakeLocalTime(r, 0, 0)};
    if (cached.seconds == -1) return MakeLocalTime(r, r.minute, r.second);
    return cached.seconds + r.minute * 60 + r.second;
}

void ApplyField(CGPSData& r, int index, std::string_view field) {
    switch (index) {
        case 1:
            r.hour = TwoDigits(field, 0) + kHoursAhead;
            r.minute = TwoDigits(field, 1);
            r.second = TwoDigits(field, 2);
            break;
        case 2: r.valid = !field.empty() && field.front() == 'A'; break;
        case 3: r.latitude = ParseLeadingDouble(field); break;
        case 4: if (field.empty() || field.front() != 'N') r.latitude = -r.latitude; break;
        case 5: r.longitude = ParseLeadingDouble(field); break;
        case 6: if (field.empty() || field.front() != 'E') r.longitude = -r.longitude; break;
        case 7: {
            const double knots = ParseLeadingDouble(field);
            r.speed = knots > 1.0 ? SinglePrecision(knots * 1.852) : 0.0;
            break;
        }
        case 8: r.course = SinglePrecision(ParseLeadingDouble(field)); break;
        case 9:
            r.day = TwoDigits(field, 0);
            r.month = TwoDigits(field, 1);
            r.year = TwoDigits(field, 2);
            break;
        default: break;  // field 0 names the sentence
    }
}

}  // namespace

bool ParseGpsPacket(CGPSData& record, std::uint32_t time, std::string_view text) {
    record.time = time;
    text = text.substr(0, std::min(text.find('\0'), kMaxGpsText));
    while (!text.empty() && text.front() == ',') text.remove_prefix(1);

    bool fieldFollows = true;
    for (int index = 0; index < kFieldCount; ++index) {
        if (!fieldFollows) return false;
        const auto comma = text.find(',');
        ApplyField(record, index, text.substr(0, comma));
        fieldFollows = comma != std::string_view::npos;
        text = fieldFollows ? text.substr(comma + 1) : std::string_view();
    }
    record.timestamp = LocalCalendarSeconds(record);
    return true;
}

int HandleTelemetryPacket(TelemetryLoad& load, const std::uint8_t* packet, std::size_t size,
                          std::uint32_t time) {
    size = std::min(size, kTelemetryPacketBytes);
    if (!packet || size == 0) return 0;
    if (packet[0] == 'M') {
        // Axis bytes past the end of a short packet read as 0, as in the zero-filled buffer.
        const auto axis = [&](std::size_t i) { return i < size ? packet[i] + 1 : 1; };
        load.gsensor.push_back({axis(1), axis(2), axis(3), time});
    } else if (packet[0] == 'G') {
        CGPSData record;
        ParseGpsPacket(record, time, std::string_view(reinterpret_cast<const char*>(packet), size));
        load.gps.push_back(record);
    }
    return 0;
}

void PublishTelemetry(TelemetryLoad&& load) {
    GpsTrack.Publish(std::move(load.gps));
    GsensorTrack.Publish(std::move(load.gsensor));
}

}  // namespace kx
