#pragma once
// The camera clock as the settings dialog shows it: six drop lists (year, month, day, hour,
// minute, second) and the entry selected in each.

#include <array>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

namespace kx::settings {

enum class ClockField { Year, Month, Day, Hour, Minute, Second };
inline constexpr std::size_t kClockFieldCount = 6;

// The entries of a list: "2011" to "2030"; "01" to "12"; "01" to "31"; "00" to "23";
// "00" to "59"; "00" to "59".
std::span<const std::string> ClockEntries(ClockField field);

struct ClockFields {
    // Selected entry of each list, in ClockField order; -1 when a list has no selection.
    std::array<int, kClockFieldCount> selected{-1, -1, -1, -1, -1, -1};

    int& operator[](ClockField f) { return selected[static_cast<std::size_t>(f)]; }
    int operator[](ClockField f) const { return selected[static_cast<std::size_t>(f)]; }
};

// The text a list shows: its selected entry, or "" without a selection.
std::string ClockText(const ClockFields& clock, ClockField field);

// Selects the entry whose text is exactly `text`; false (and the list as it was) when there is
// none.
bool SelectClockEntry(ClockFields& clock, ClockField field, std::string_view text);

// Selects by prefix as a drop list does: the first entry, searching from the second on and
// wrapping round to the first, whose text begins with `prefix` (letter case ignored). False,
// leaving the list as it was, when no entry begins with it. "" selects the second entry.
bool SelectClockEntryByPrefix(ClockFields& clock, ClockField field, std::string_view prefix);

// Selects the six lists for a broken-down local time; a year outside 2011..2030 leaves the
// year list as it was.
void SetClockFields(ClockFields& clock, const std::tm& local);

}  // namespace kx::settings
