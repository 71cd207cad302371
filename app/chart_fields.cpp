// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/chart_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "astro/calendar.h"

namespace duoskop {

namespace {

/// A whole number of 1 to `max_digits` digits, nothing else.
std::optional<int> digits(std::string_view text, std::size_t max_digits)
{
    if (text.empty() || text.size() > max_digits) return std::nullopt;
    // from_chars would take a leading '-': only digits make a field part.
    if (text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

/// Splits `text` at every `separator`.
std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t stop = text.find(separator, start);
        parts.push_back(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start));
        if (stop == std::string_view::npos) return parts;
        start = stop + 1;
    }
}

}  // namespace

std::optional<std::string> date_field(std::string_view text)
{
    const auto parts = split(text, '.');
    if (parts.size() != 3 || parts[2].size() != 4) return std::nullopt;
    const auto d = digits(parts[0], 2), m = digits(parts[1], 2), y = digits(parts[2], 4);
    if (!d || !m || !y || *y < 1 || *m < 1 || *m > 12 || *d < 1) return std::nullopt;
    // The calendar of the chart computation: 29.02.1500 is a day (Julian before 1582).
    if (!chart_date_valid(*y, *m, *d)) return std::nullopt;
    char out[48];
    std::snprintf(out, sizeof out, "%02d.%02d.%04d", *d, *m, *y);
    return out;
}

std::optional<std::string> time_field(std::string_view text)
{
    const auto parts = split(text, ':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const auto h = digits(parts[0], 2), m = digits(parts[1], 2);
    const auto s = parts.size() == 3 ? digits(parts[2], 2) : std::optional<int>(0);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
    char out[48];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d", *h, *m, *s);
    return out;
}

std::optional<std::string> coordinate_field(std::string_view text, int degree_digits, int limit)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    long total_seconds = 0;
    if (text.find(' ') != std::string_view::npos) {
        std::vector<std::string_view> parts;
        for (std::string_view p : split(text, ' '))
            if (!p.empty()) parts.push_back(p);
        if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
        const auto d = digits(parts[0], 3), m = digits(parts[1], 2);
        const auto s = parts.size() == 3 ? digits(parts[2], 2) : std::optional<int>(0);
        if (!d || !m || !s || *m > 59 || *s > 59) return std::nullopt;
        total_seconds = *d * 3600L + *m * 60L + *s;
    } else {
        std::string decimal(text);
        for (char& c : decimal)
            if (c == ',') c = '.';
        if (decimal.empty() || decimal.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
        double degrees = 0;
        const auto [end, ec] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), degrees);
        if (ec != std::errc() || end != decimal.data() + decimal.size()) return std::nullopt;
        if (degrees > limit + 1.0) return std::nullopt;
        total_seconds = std::lround(degrees * 3600.0);
    }
    if (total_seconds > limit * 3600L) return std::nullopt;
    if (total_seconds == 0) negative = false;
    char out[64];
    std::snprintf(out, sizeof out, "%c%0*ld %02ld %02ld", negative ? '-' : '+', degree_digits,
                  total_seconds / 3600, total_seconds / 60 % 60, total_seconds % 60);
    return out;
}

}  // namespace duoskop
