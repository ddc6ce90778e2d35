#include "settings/ClockFields.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace kx::settings {

namespace {

std::vector<std::string> Numbers(int first, int last, int digits) {
    std::vector<std::string> out;
    for (int v = first; v <= last; ++v) {
        char text[16];
        std::snprintf(text, sizeof text, "%0*d", digits, v);
        out.emplace_back(text);
    }
    return out;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

std::string TwoDigits(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", v);
    return text;
}

}  // namespace

std::span<const std::string> ClockEntries(ClockField field) {
    static const std::array<std::vector<std::string>, kClockFieldCount> lists = {
        Numbers(2011, 2030, 4), Numbers(1, 12, 2), Numbers(1, 31, 2),
        Numbers(0, 23, 2),      Numbers(0, 59, 2), Numbers(0, 59, 2)};
    return lists[static_cast<std::size_t>(field)];
}

std::string ClockText(const ClockFields& clock, ClockField field) {
    const auto entries = ClockEntries(field);
    const int i = clock[field];
    return i >= 0 && static_cast<std::size_t>(i) < entries.size() ? entries[static_cast<std::size_t>(i)] : std::string();
}

bool SelectClockEntry(ClockFields& clock, ClockField field, std::string_view text) {
    const auto entries = ClockEntries(field);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == text) {
            clock[field] = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool SelectClockEntryByPrefix(ClockFields& clock, ClockField field, std::string_view prefix) {
    const auto entries = ClockEntries(field);
    const std::size_t n = entries.size();
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t i = k % n;
        if (StartsWithIgnoringCase(entries[i], prefix)) {
            clock[field] = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

void SetClockFields(ClockFields& clock, const std::tm& local) {
    SelectClockEntry(clock, ClockField::Year, std::to_string(local.tm_year + 1900));
    SelectClockEntry(clock, ClockField::Month, TwoDigits(local.tm_mon + 1));
    SelectClockEntry(clock, ClockField::Day, TwoDigits(local.tm_mday));
    SelectClockEntry(clock, ClockField::Hour, TwoDigits(local.tm_hour));
    SelectClockEntry(clock, ClockField::Minute, TwoDigits(local.tm_min));
    SelectClockEntry(clock, ClockField::Second, TwoDigits(local.tm_sec));
}

}  // namespace kx::settings
