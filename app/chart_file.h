// SPDX-License-Identifier: GPL-3.0-or-later
// The chart file of one person: one 77-byte record of seven length-prefixed texts,
// the lenient reading of its birth data, and the load of a person (`holen`).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/chart_state.h"

namespace duoskop {

inline constexpr std::size_t chart_record_size = 77;
inline constexpr std::size_t chart_field_capacity = 10;

/// The seven fields of a 77-byte record; a length byte above 10 is taken as 10.
chart_record read_chart_record(std::span<const unsigned char, chart_record_size> bytes);
/// The 77 bytes of a record; fields longer than 10 characters are cut, unused bytes are blanks.
std::string chart_record_bytes(const chart_record& record);

/// Reads the birth data out of a record: fixed character positions, lenient integers.
BirthData werte_aktual(const chart_record& record);

/// Day, month and year of a date field DD.MM.YYYY as `werte_aktual` reads them.
struct DateParts {
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;
};
DateParts date_parts(std::string_view date);

/// Hours, minutes and seconds of a time field HH:MM:SS as `werte_aktual` reads them, each kept
/// in one byte.
struct TimeParts {
    std::uint8_t hours = 0;
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
};
TimeParts time_parts(std::string_view time);

/// The name check: the file name (Windows-1252) up to its first '.' against as many characters
/// of the record's name, a-z folded to A-Z, everything else compared as it is.
bool name_check(std::string_view file_name, const chart_record& record);

enum class LoadOutcome {
    loaded,       ///< the person's record, positions and (person 2) search axes are replaced
    cannot_open,  ///< error box with the I/O error text; the program goes on
    cannot_read,  ///< "Ladeversuch mit <path> ging daneben"; the program ends
    not_a_chart,  ///< "<file name> ist keine Horoskop-Datei."; the program ends
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::loaded;
    std::string message;  ///< Windows-1252, ready to show; empty when loaded
    bool ends_program() const
    {
        return outcome == LoadOutcome::cannot_read || outcome == LoadOutcome::not_a_chart;
    }
};

/// Loads the chart file at `path` (a UTF-8 Linux path) for person 1 or 2: reads the first record,
/// computes the chart, checks the name and, for person 2, forms the search axes.
/// On any failure nothing of `state` changes.
LoadResult holen(const std::string& path, int person, ChartState& state);

/// The positions of a chart from its birth data.
using ChartFunction = Positions (*)(const BirthData& birth);

/// holen, with the positions computed by `compute` (f_rechnen when null).
LoadResult holen(const std::string& path, int person, ChartState& state, ChartFunction compute);

}  // namespace duoskop
