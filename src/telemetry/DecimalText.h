#pragma once
// Numbers in packet text, read the way C's atoi and strtod read them, but without locale,
// "inf", "nan" or hexadecimal forms: leading blanks, an optional sign, digits (with a decimal
// point and exponent for reals); reading stops at the first character that does not fit, and
// text without digits reads as 0.

#include <string_view>

namespace kx {

double ParseLeadingDouble(std::string_view text);

}  // namespace kx
