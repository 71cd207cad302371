// SPDX-License-Identifier: GPL-3.0-or-later
#include "ranking/rank_table.h"

#include <charconv>
#include <string_view>

#include "base/cp1252.h"
#include "base/csv.h"
#include "base/texts.h"

namespace duoskop {

namespace {

std::string number(std::size_t n)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, n);
    return std::string(buffer, result.ptr);
}

}  // namespace

RankRow rank_header(bool with_f)
{
    RankRow row;
    for (std::size_t i = 0; i < rank_columns; ++i) row.push_back(cp1252_to_utf8(texts::kRankColumns[i]));
    if (with_f) row.emplace_back("F");
    return row;
}

std::vector<RankRow> rank_rows(const std::vector<RankEntry>& entries, std::size_t count)
{
    const std::vector<std::size_t> ranks = rank_numbers(entries);
    std::vector<RankRow> rows;
    for (std::size_t i = 0; i < entries.size() && i < count; ++i) {
        const RankEntry& e = entries[i];
        rows.push_back({number(ranks[i]), number(e.s()), number(e.d), number(e.e), number(e.l),
                        cp1252_to_utf8(e.name), cp1252_to_utf8(e.first_name), valid_utf8(e.path)});
        if (e.f) rows.back().push_back(number(*e.f));
    }
    return rows;
}

std::string tab_line(const RankRow& row)
{
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) line += '\t';
        for (const char c : row[i]) {
            const auto byte = static_cast<unsigned char>(c);
            line += byte < 0x20 || byte == 0x7F ? '?' : c;
        }
    }
    return line;
}

std::string rank_csv(const std::vector<RankRow>& rows)
{
    std::string csv = csv_row(rank_header(!rows.empty() && rows.front().size() > rank_columns));
    for (const RankRow& row : rows) csv += csv_row(row);
    return csv;
}

}  // namespace duoskop
