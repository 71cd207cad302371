// SPDX-License-Identifier: GPL-3.0-or-later
#include "birth/chart_input.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "astro/calendar.h"
#include "birth/birth_texts.h"
#include "base/cp1252.h"
#include "places/atlas.h"

namespace duoskop {

namespace {

std::optional<int> small_number(std::string_view text, std::size_t max_digits)
{
    if (text.empty() || text.size() > max_digits || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

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

std::optional<CivilTime> parse_clock(std::string_view text, CivilTime date)
{
    const auto parts = split(text, ':');
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const auto h = small_number(parts[0], 2), m = small_number(parts[1], 2);
    const auto s = parts.size() == 3 ? small_number(parts[2], 2) : std::optional<int>(0);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
    date.hour = *h;
    date.minute = *m;
    date.second = *s;
    return date;
}

std::optional<CivilTime> parse_date(std::string_view text)
{
    const auto parts = split(text, '.');
    if (parts.size() != 3) return std::nullopt;
    const auto d = small_number(parts[0], 2), m = small_number(parts[1], 2), y = small_number(parts[2], 4);
    if (!d || !m || !y || parts[2].size() != 4) return std::nullopt;
    const CivilTime t{*y, *m, *d, 0, 0, 0};
    if (!valid_civil_time(t)) return std::nullopt;
    return t;
}

std::string date_refusal(std::string_view text)
{
    const auto parts = split(text, '.');
    if (parts.size() != 3 || parts[2].size() != 4) return std::string(texts::kRefuseDate);  // no date at all
    const auto d = small_number(parts[0], 2), m = small_number(parts[1], 2), y = small_number(parts[2], 4);
    if (!d || !m || !y) return std::string(texts::kRefuseDate);
    if (*y < 1) return std::string(texts::kRefuseNoYearZero);
    if (*m < 1 || *m > 12) return std::string(texts::kRefuseNoSuchMonth);
    // Only the day is wrong: say how many days that month has.
    char typed[48];
    std::snprintf(typed, sizeof typed, "%02d.%02d.%04d", *d, *m, *y);
    return std::string(texts::kRefuseNoSuchDayBefore) + typed + std::string(texts::kRefuseNoSuchDayMonth) +
           std::string(texts::kMonthNames[static_cast<std::size_t>(*m - 1)]) + " " + std::to_string(*y) +
           std::string(texts::kRefuseNoSuchDayHas) + std::to_string(chart_days_in_month(*m, *y)) +
           std::string(texts::kRefuseNoSuchDayAfter);
}

std::string chart_text(std::string_view utf8)
{
    // What Windows-1252 holds stays as it is; a text it cannot hold goes whole into plain letters,
    // so that no name mixes the two ways of writing.
    const auto bytes = utf8_to_cp1252(utf8);
    const std::string text = bytes ? *bytes : plain_letters(utf8);
    return text.substr(0, chart_field_capacity);
}

std::optional<std::string> coordinate_text(double degrees, int degree_digits, int limit)
{
    if (!(std::fabs(degrees) <= limit)) return std::nullopt;
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::fixed, 6);
    if (ec != std::errc()) return std::nullopt;
    return coordinate_field(std::string_view(buffer, static_cast<std::size_t>(end - buffer)), degree_digits, limit);
}

std::optional<chart_record> chart_record_of(const ChartData& data, std::string& error)
{
    if (!valid_civil_time(data.ut)) {
        error = "Die Weltzeit " + civil_time_text(data.ut) + " liegt au\xDF" "erhalb der Jahre 1 bis 9999.";
        return std::nullopt;
    }
    const auto lon = coordinate_text(data.longitude, 3, 180);
    const auto lat = coordinate_text(data.latitude, 2, 90);
    if (!lon || !lat) {
        error = "Die Koordinaten liegen au\xDF" "erhalb von 180 Grad L\xE4" "nge oder 90 Grad Breite.";
        return std::nullopt;
    }
    const std::string when = civil_time_text(data.ut);
    const auto cut = [](const std::string& s) { return s.substr(0, chart_field_capacity); };
    return chart_record{cut(data.name), cut(data.first_name), when.substr(0, 10), when.substr(11),
                        cut(data.extra), *lon, *lat};
}

ChartData chart_data_of(const chart_record& record)
{
    const BirthData b = werte_aktual(record);
    const int seconds = static_cast<int>(std::lround(b.birth_time * 3600.0));
    return {record.name, record.first_name, record.extra,
            CivilTime{b.birth_year, b.birth_month, b.birth_day, seconds / 3600, seconds / 60 % 60, seconds % 60},
            b.geo_longitude, b.geo_latitude};
}

}  // namespace duoskop
