// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking as a table: rank, S, D, E, L, name, first name, file path, for the terminal
// (fields separated by tabs) and as a CSV file.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ranking/ranking.h"

namespace duoskop {

inline constexpr std::size_t rank_columns = 8;
using RankRow = std::vector<std::string>;  ///< UTF-8 fields; a ninth, F, with a time window

/// The CSV header: Rang, S, D, E, L, Name, Vorname, Datei, and F when `with_f`.
RankRow rank_header(bool with_f = false);

/// The first `count` rows of the table (all when there are fewer), best first; names converted
/// from Windows-1252 and paths made valid UTF-8.
std::vector<RankRow> rank_rows(const std::vector<RankEntry>& entries, std::size_t count);

/// One terminal line: the fields separated by tabs; a control character inside a field (a tab or
/// line break in a name or a file name) is shown as '?' so that every row stays one line.
std::string tab_line(const RankRow& row);

/// The whole CSV file: the header (with F when the rows have it), then the rows; UTF-8, CR LF line ends, a field in double
/// quotes (its quotes doubled) when it holds a comma, a quote or a line break.
std::string rank_csv(const std::vector<RankRow>& rows);

}  // namespace duoskop
