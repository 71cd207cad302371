// SPDX-License-Identifier: GPL-3.0-or-later
// Birth data as a person enters or imports them (local clock time, zone or place) turned into the
// chart record the program reads: universal date and time, coordinates in the fixed layout.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/chart_state.h"
#include "birth/local_time.h"

namespace duoskop {

/// "H:M" or "H:M:S" (hours 0-23, minutes and seconds 0-59, one or two digits each) as a clock
/// time; "D.M.YYYY" as a date. Nothing when malformed.
std::optional<CivilTime> parse_clock(std::string_view text, CivilTime date = {});
std::optional<CivilTime> parse_date(std::string_view text);

/// Why `text` is no date for parse_date (Windows-1252): the format when it is not written D.M.YYYY,
/// else the year, month or day that does not exist ("Den 30.02.1990 gibt es nicht: der Februar
/// 1990 hat 28 Tage.").
std::string date_refusal(std::string_view text);

/// The time of day the chart record uses to mark an unknown birth time.
inline constexpr CivilTime unknown_time_of_day{2000, 1, 1, 12, 0, 0};

/// A chart text field of at most 10 characters from UTF-8. A text Windows-1252 cannot hold is
/// written in plain letters (plain_letters: Łódź as Lodz, Plzeň as Plzen), other characters
/// beyond ASCII as '?'.
std::string chart_text(std::string_view utf8);

/// A coordinate in decimal degrees as the record's field: sign, degrees (`degree_digits` wide),
/// minutes and seconds ("+008 30 00"); nothing beyond `limit` degrees.
std::optional<std::string> coordinate_text(double degrees, int degree_digits, int limit);

/// The birth data of one person, ready for a chart record.
struct ChartData {
    std::string name, first_name, extra;  ///< Windows-1252, cut to 10 characters when written
    CivilTime ut;                         ///< universal date and time
    double longitude = 0;                 ///< degrees, east positive
    double latitude = 0;                  ///< degrees, north positive
};

/// The record of `data`; nothing, with the German reason in `error`, when a coordinate is out of
/// range or the date lies outside the years 1-9999.
std::optional<chart_record> chart_record_of(const ChartData& data, std::string& error);

/// The birth data read back from a record (the inverse of chart_record_of for valid records).
ChartData chart_data_of(const chart_record& record);

}  // namespace duoskop
