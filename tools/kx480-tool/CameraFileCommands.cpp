// kx480-tool setup read|write FILE and clock read|write FILE: the camera's "setup.cfg" and
// "time.cfg" through the code the settings dialog uses.

#include "ArgParser.h"
#include "ToolCommands.h"
#include "settings/CameraOptions.h"
#include "settings/SetupFile.h"
#include "settings/TimeFile.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string_view>

namespace kx::tool {

namespace {

using namespace kx::settings;

constexpr const char* kSetupUsage =
    "usage: kx480-tool setup read FILE | setup write FILE [key=value...]\n";
constexpr const char* kClockUsage =
    "usage: kx480-tool clock read FILE | clock write FILE \"YYYY-MM-DD hh:mm:ss\"\n";

int Usage(const char* usage) {
    std::cerr << usage;
    return kExitFailure;
}

int Fail(const std::string& what) {
    std::cerr << "kx480-tool " << what << '\n';
    return kExitFailure;
}

// A value written as a list index (first = 0) or as index + 1 (first = 1) into a list of
// `size` entries; the index, or nullopt when out of range or not a number.
std::optional<int> ListValue(const std::string& text, std::size_t size, int first) {
    const auto v = ParseWholeNumber(text);
    if (!v || *v < first || *v >= static_cast<long long>(size) + first) return std::nullopt;
    return static_cast<int>(*v - first);
}

// Sets one key of `setup write`; an error text when the key or value is not accepted.
std::string SetKey(CameraSettings& s, const std::string& key, const std::string& value) {
    struct IndexKey {
        const char* name;
        int CameraSettings::*field;
        std::size_t size;
        int first;
    };
    const IndexKey keys[] = {
        {"trigger", &CameraSettings::triggerIndex, TriggerOptions().size(), 0},
        {"quality", &CameraSettings::qualityIndex, QualityOptions().size(), 1},
        {"speaker", &CameraSettings::speakerIndex, SpeakerOptions().size(), 0},
        {"channels", &CameraSettings::channelIndex, ChannelOptions().size(), 1},
        {"cutoff", &CameraSettings::cutOffIndex, CutOffOptions(false, true).size(), 0},
        {"poweroff", &CameraSettings::powerOffIndex, PowerOffOptions().size(), 1},
        {"lcdoff", &CameraSettings::lcdOffIndex, LcdOffOptions().size(), 0},
    };
    for (const IndexKey& k : keys) {
        if (key != k.name) continue;
        const auto index = ListValue(value, k.size, k.first);
        if (!index)
            return key + " must be " + std::to_string(k.first) + " to " +
                   std::to_string(static_cast<int>(k.size) - 1 + k.first) + ", not \"" + value + "\"";
        s.*k.field = *index;
        return {};
    }
    if (key == "audio" || key == "volt24") {
        if (value != "0" && value != "1") return key + " must be 0 or 1, not \"" + value + "\"";
        if (key == "audio") s.audioEnabled = value == "1";
        else SelectVoltageSystem(s, value == "1");
        return {};
    }
    if (key == "sw_version") {
        if (value.find_first_of("\r\n") != std::string::npos) return "sw_version must be one line";
        s.softwareVersion = value;
        return {};
    }
    if (key == "product") return "product is always " + std::string(kCameraModel);
    return "unknown key \"" + key + "\"";
}

int SetupRead(const Args& args) {
    if (args.size() != 1) return Usage(kSetupUsage);
    CameraSettings s;
    s.modelName = std::string(kCameraModel);
    if (!ReadSetupFile(args[0], s)) return Fail("setup read: cannot open " + args[0]);
    std::printf("product=%s\nsw_version=%s\ntrigger=%d\nquality=%d\naudio=%d\nspeaker=%d\nchannels=%d\n"
                "volt24=%d\ncutoff=%d\npoweroff=%d\nlcdoff=%d\n",
                s.productName.c_str(), s.softwareVersion.c_str(), s.triggerIndex, s.qualityIndex + 1,
                s.audioEnabled ? 1 : 0, s.speakerIndex, s.channelIndex + 1, s.volt24 ? 1 : 0, s.cutOffIndex,
                s.powerOffIndex + 1, s.lcdOffIndex);
    return kExitOk;
}

int SetupWrite(const Args& args) {
    if (args.empty()) return Usage(kSetupUsage);
    CameraSettings s;
    s.modelName = std::string(kCameraModel);
    ApplyCameraDefaults(s);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const auto eq = args[i].find('=');
        if (eq == std::string::npos) return Fail("setup write: expected key=value, not \"" + args[i] + "\"");
        if (const std::string error = SetKey(s, args[i].substr(0, eq), args[i].substr(eq + 1)); !error.empty())
            return Fail("setup write: " + error);
    }
    if (!WriteSetupFile(args[0], s)) return Fail("setup write: cannot write " + args[0]);
    return kExitOk;
}

// "YYYY-MM-DD hh:mm:ss" with a real calendar date in the years of the clock lists.
std::optional<ClockFields> ParseClock(const std::string& text) {
    constexpr std::string_view kPattern = "dddd-dd-dd dd:dd:dd";
    if (text.size() != kPattern.size()) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t n) { return std::stoi(text.substr(at, n)); };
    const int y = number(0, 4), mo = number(5, 2), d = number(8, 2), h = number(11, 2), mi = number(14, 2),
              s = number(17, 2);
    const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(static_cast<unsigned>(mo)),
                                           std::chrono::day(static_cast<unsigned>(d))};
    if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
    std::tm local{};
    local.tm_year = y - 1900;
    local.tm_mon = mo - 1;
    local.tm_mday = d;
    local.tm_hour = h;
    local.tm_min = mi;
    local.tm_sec = s;
    ClockFields clock;
    SetClockFields(clock, local);
    if (clock[ClockField::Year] < 0) return std::nullopt;  // outside the camera's years
    return clock;
}

int ClockWrite(const Args& args) {
    if (args.size() != 2) return Usage(kClockUsage);
    const auto clock = ParseClock(args[1]);
    if (!clock)
        return Fail("clock write: expected \"YYYY-MM-DD hh:mm:ss\" with a year from 2011 to 2030, not \"" + args[1] +
                    "\"");
    if (!WriteTimeFile(args[0], *clock, true)) return Fail("clock write: cannot write " + args[0]);
    return kExitOk;
}

int ClockRead(const Args& args) {
    if (args.size() != 1) return Usage(kClockUsage);
    ClockFields clock;
    if (!ReadTimeFile(args[0], clock)) return Fail("clock read: cannot open " + args[0]);
    std::printf("year=%s\nmonth=%s\nday=%s\nhour=%s\nminute=%s\nsecond=%s\n",
                ClockText(clock, ClockField::Year).c_str(), ClockText(clock, ClockField::Month).c_str(),
                ClockText(clock, ClockField::Day).c_str(), ClockText(clock, ClockField::Hour).c_str(),
                ClockText(clock, ClockField::Minute).c_str(), ClockText(clock, ClockField::Second).c_str());
    return kExitOk;
}

}  // namespace

int SetupCommand(const Args& args) {
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "read") return SetupRead(rest);
    if (!args.empty() && args[0] == "write") return SetupWrite(rest);
    std::cerr << kSetupUsage;
    return kExitFailure;
}

int ClockCommand(const Args& args) {
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    if (!args.empty() && args[0] == "read") return ClockRead(rest);
    if (!args.empty() && args[0] == "write") return ClockWrite(rest);
    std::cerr << kClockUsage;
    return kExitFailure;
}

}  // namespace kx::tool
