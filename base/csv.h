// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV files the programs write (the ranking, the hits of a timeline): fields separated by
// commas, rows ending in CR LF, a field in double quotes (its quotes doubled) when it holds a
// comma, a quote or a line break.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace duoskop {

/// One field as it stands in a row.
std::string csv_field(std::string_view field);

/// One row: the fields separated by commas, then CR LF.
std::string csv_row(const std::vector<std::string>& fields);

}  // namespace duoskop
