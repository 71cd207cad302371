// SPDX-License-Identifier: GPL-3.0-or-later
// Checked birth-data fields for writing a chart file: what the user typed, normalised to the
// fixed layout the chart file reader expects, or nothing when it is no valid value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duoskop {

/// "D.M.YYYY" (day and month with one or two digits, a real calendar date) as DD.MM.YYYY.
std::optional<std::string> date_field(std::string_view text);

/// "H:M:S" or "H:M" (a time of day, universal time) as HH:MM:SS.
std::optional<std::string> time_field(std::string_view text);

/// A coordinate as "[+-]D M S" (blank-separated, minutes and seconds below 60) or as decimal
/// degrees ("8.5", "-8,5"), written as sign + degrees (`degree_digits` wide) + " MM SS";
/// nothing when it is malformed or its size exceeds `limit` degrees.
std::optional<std::string> coordinate_field(std::string_view text, int degree_digits, int limit);

}  // namespace duoskop
