#pragma once
// "time.cfg", the file that sets the camera clock: two text lines (CR LF), "yy/mm/dd" and
// "hh/mm/ss".

#include "settings/ClockFields.h"

#include <istream>
#include <string>

namespace kx::settings {

// Selects the six clock lists from the file. Each value is taken from fixed columns (1-2, 4-5,
// 7-8 of its line; the year prefixed with "20") and selected by prefix; a missing line gives
// empty values. False, with the lists as they were, when the file cannot be opened.
bool ReadTimeFile(const std::string& path, ClockFields& clock);

// The same on an open stream: up to two lines of at most 255 characters.
void ReadTimeLines(std::istream& in, ClockFields& clock);

// The two lines as the file holds them, CR LF included: the texts of the lists, the year
// without its first two digits.
std::string FormatTimeFile(const ClockFields& clock);

// Writes the file when `setClock` (the dialog's set-the-clock box) is on, replacing it; true
// without writing when it is off, false when the file cannot be created or written.
bool WriteTimeFile(const std::string& path, const ClockFields& clock, bool setClock);

}  // namespace kx::settings
