// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/orb.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace duoskop {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// The value of a decimal number text already scanned as blanks, sign, digits, '.', digits and an
/// optional exponent, read without the process locale. Too large gives infinity, too small
/// a zero of the number's sign, as C's reading of numbers gives them.
double decimal_value(std::string_view number)
{
    while (number.front() == ' ') number.remove_prefix(1);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);  // from_chars takes no '+'
    double value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range) {
        // Out of range: the magnitude is beyond 1e308 or below 1e-308, so the sign of its decimal
        // logarithm (mantissa's logarithm plus exponent) tells which side.
        const std::size_t e = number.find_first_of("eE");
        double mantissa = 0;
        std::from_chars(number.data(), number.data() + std::min(e, number.size()), mantissa);
        long exponent = 0;
        if (e != std::string_view::npos) {
            std::string_view digits = number.substr(e + 1);
            const bool exponent_negative = digits.front() == '-';
            if (digits.front() == '+' || digits.front() == '-') digits.remove_prefix(1);
            for (char c : digits) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
            if (exponent_negative) exponent = -exponent;
        }
        value = std::log10(mantissa) + static_cast<double>(exponent) < 0 ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

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
        reading.value = decimal_value(std::string_view(text).substr(0, end));
        reading.ok = end == text.size() && std::isfinite(reading.value);
        if (!std::isfinite(reading.value)) reading.value = 0;
    }
    return reading;
}

}  // namespace duoskop
