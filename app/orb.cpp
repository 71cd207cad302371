// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/orb.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace duoskop {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

OrbReading read_orb(std::string_view field_text)
{
    std::string text(field_text.substr(0, 255));
    if (text.size() >= 2) text[1] = '.';

    // Scan the longest prefix that is a number: blanks, sign, digits, '.', digits, exponent.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) ++i, ++digits;
    }
    std::size_t end = digits > 0 ? i : 0;
    if (digits > 0 && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t exponent_digits = 0;
        while (j < text.size() && is_digit(text[j])) ++j, ++exponent_digits;
        if (exponent_digits > 0) end = j;
    }

    OrbReading reading;
    if (end > 0) {
        // strtod reads exactly the prefix scanned above; the C locale keeps '.' the decimal point.
        const std::string number = text.substr(0, end);
        reading.value = std::strtod(number.c_str(), nullptr);
    }
    reading.ok = end > 0 && end == text.size() && std::isfinite(reading.value);
    if (!std::isfinite(reading.value)) reading.value = 0;
    return reading;
}

}  // namespace duoskop
