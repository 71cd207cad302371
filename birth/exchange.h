// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange formats of birth data: AAF ("Astrologisches Austauschformat") and CSV, read into
// the birth data of chart records, and AAF written from chart records.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "birth/chart_input.h"
#include "places/atlas.h"

namespace duoskop {

/// One record of an exchange file: its birth data, or why it cannot be used.
struct ImportedRecord {
    std::size_t line = 0;             ///< where the record starts, counted from 1
    std::optional<ChartData> data;    ///< names and extra in Windows-1252
    std::string error;                ///< German (Windows-1252) when there are no data
};

/// The records of an AAF file (UTF-8 or Windows-1252). Per record the universal time comes from
/// the Julian day of #B93 when given, else from the local time with the zone difference and
/// summer time of #B93, else from the place through `atlas` and the time-zone database; the
/// coordinates from #B93, else from the place. A local time "*" is an unknown birth time.
/// Without an atlas (nullptr) a record that needs the place is refused.
std::vector<ImportedRecord> read_aaf(std::string_view bytes, const Atlas* atlas);

/// The records of a CSV file (UTF-8, separated by ';' or ',', fields may be in double quotes):
/// a header line, then per line the columns of csv_columns. An empty time or "*" is an unknown
/// birth time; the zone "UT" makes the time universal time; an empty zone, latitude or longitude
/// is taken from the place through `atlas`.
std::vector<ImportedRecord> read_csv(std::string_view bytes, const Atlas* atlas);

/// The header line of a CSV file, naming its columns.
inline constexpr std::string_view csv_columns = "Name;Vorname;Datum;Zeit;Zone;Ort;Land;Breite;Laenge;Zusatz";

/// True when `bytes` look like AAF (the first line that is not blank begins with '#').
bool looks_like_aaf(std::string_view bytes);

/// AAF of chart records (Windows-1252, CR LF): per record #A93 with the universal date and time,
/// unknown type and country and the extra field as the place, and #B93 with the Julian day, the coordinates, the zone
/// difference 0he00 and no summer time.
std::string write_aaf(const std::vector<chart_record>& records);

}  // namespace duoskop
