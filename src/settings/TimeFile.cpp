#include "settings/TimeFile.h"

#include "settings/TextLines.h"

#include <fstream>

namespace kx::settings {

namespace {

// Characters `first` and `first` + 1 (counted from 1) of a line, as far as the line reaches.
std::string Column(const std::string& line, std::size_t first) {
    return first - 1 < line.size() ? line.substr(first - 1, 2) : std::string();
}

}  // namespace

void ReadTimeLines(std::istream& in, ClockFields& clock) {
    std::string date, time;
    if (ReadTextLine(in, date)) ReadTextLine(in, time);
    SelectClockEntryByPrefix(clock, ClockField::Year, "20" + Column(date, 1));
    SelectClockEntryByPrefix(clock, ClockField::Month, Column(date, 4));
    SelectClockEntryByPrefix(clock, ClockField::Day, Column(date, 7));
    SelectClockEntryByPrefix(clock, ClockField::Hour, Column(time, 1));
    SelectClockEntryByPrefix(clock, ClockField::Minute, Column(time, 4));
    SelectClockEntryByPrefix(clock, ClockField::Second, Column(time, 7));
}

bool ReadTimeFile(const std::string& path, ClockFields& clock) {
    std::ifstream in;
    if (!OpenTextFile(path, in)) return false;
    ReadTimeLines(in, clock);
    return true;
}

std::string FormatTimeFile(const ClockFields& clock) {
    const std::string year = ClockText(clock, ClockField::Year);
    return (year.size() > 2 ? year.substr(2) : std::string()) + "/" + ClockText(clock, ClockField::Month) + "/" +
           ClockText(clock, ClockField::Day) + "\r\n" + ClockText(clock, ClockField::Hour) + "/" +
           ClockText(clock, ClockField::Minute) + "/" + ClockText(clock, ClockField::Second) + "\r\n";
}

bool WriteTimeFile(const std::string& path, const ClockFields& clock, bool setClock) {
    if (!setClock) return true;
    return WriteFileBytes(path, FormatTimeFile(clock));
}

}  // namespace kx::settings
