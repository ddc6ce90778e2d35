#include "telemetry/DecimalText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace kx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double ParseLeadingDouble(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            end = j;
        }
    }
    // The validated span holds only digits, a point and an exponent, so the C locale's strtod
    // reads exactly it, with its overflow (HUGE_VAL) and underflow (0) results.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string span(text.substr(start, end - start));
    const double value = strtod_l(span.c_str(), nullptr, cLocale);
    return negative ? -value : value;
}

}  // namespace kx
