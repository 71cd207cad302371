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
    std::string error;                ///< German (UTF-8) when there are no data
    std::optional<chart_record> record;  ///< the checked record (make_chart) when there are data
    std::string file_name;            ///< UTF-8: the name of its chart file (chart_file_name)
    std::string note;                 ///< UTF-8: what the user should know of a good record (IntakeResult::extra_note)
};

/// All that an exchange file yields.
struct ExchangeFile {
    std::vector<ImportedRecord> records;
    std::size_t cp1252_lines = 0;     ///< lines that were no UTF-8 and were read as Windows-1252
    std::string error;                ///< German (UTF-8): the file is refused whole (a CSV header, no record at all)
};

/// Reads an AAF file (when looks_like_aaf) or a CSV file. Text is read line by line: a byte order
/// mark is dropped, lines end with LF, CR LF or CR, each line that is valid UTF-8 is read as UTF-8
/// and any other as Windows-1252. Every record goes through make_chart. A file in which no record
/// is recognised (no #A93, no line under the CSV header) is refused whole.
ExchangeFile read_exchange(std::string_view bytes, const Atlas* atlas);
ExchangeFile read_aaf_file(std::string_view bytes, const Atlas* atlas);
ExchangeFile read_csv_file(std::string_view bytes, const Atlas* atlas);

/// The records of an AAF file (UTF-8 or Windows-1252). Per record the universal time comes from
/// the Julian day of #B93 when given, else from the local time with the zone difference and
/// summer time of #B93, else from the place through `atlas` and the time-zone database; the
/// coordinates from #B93, else from the place. A local time "*" is an unknown birth time. The tags
/// are read in any case (#a93:). In name, first name and place "*" is not given and a field of
/// stars only stands for one star less ("**" is the text "*"), as write_aaf writes them.
/// Without an atlas (nullptr) a record that needs the place is refused.
std::vector<ImportedRecord> read_aaf(std::string_view bytes, const Atlas* atlas);

/// The records of a CSV file (separated by ';', tab or ',', fields may be in double quotes and
/// then hold line breaks): after blank lines and comment lines beginning with '#', a header line
/// whose names say which column holds what, in any order
/// (csv_columns, also "L\u00E4nge", "Region" and English names), then one record per line. A first
/// line that names no known column, an unknown or doubled column, or a header without Name and
/// Datum refuses the file whole (as a refused record of line 1 here). An empty time or "*" is
/// an unknown birth time; the zone "UT" makes the time universal time; an empty zone, latitude
/// or longitude is taken from the place through `atlas`.
std::vector<ImportedRecord> read_csv(std::string_view bytes, const Atlas* atlas);

/// The header line of a CSV file, naming its columns.
inline constexpr std::string_view csv_columns = "Name;Vorname;Datum;Zeit;Zone;Ort;Land;Breite;Laenge;Zusatz";

/// True when `bytes` look like AAF: a line begins with the tag #A93: or #B93: (in any case).
bool looks_like_aaf(std::string_view bytes);

/// Why `record` cannot go into an AAF file and read back as the chart it is (UTF-8): a comma in
/// a text field, a time the chart computation places outside the years 1-9999, coordinates beyond
/// 180 and 90 degrees; nothing when it can.
std::optional<std::string> aaf_refusal(const chart_record& record);

/// A note (UTF-8) when a record that loads holds a date, time or coordinate that is no real one
/// (99.99.9999, xx:yy:zz, +999 99 99), saying what the chart computation reads instead; nothing
/// for a record of real values.
std::optional<std::string> reading_note(const chart_record& record);

/// The note for an AAF export: AAF gets what the chart computation reads (31.02.1990 as 03.03.1990).
std::optional<std::string> aaf_note(const chart_record& record);

/// AAF of chart records (Windows-1252, CR LF): per record #A93 with the universal date and time
/// as the chart computation reads them,
/// unknown type and country and the extra field as the place, and #B93 with the Julian day, the coordinates, the zone
/// difference 0he00 and no summer time. An empty name field is written "*", one of stars only with
/// a star more ("*" as "**").
std::string write_aaf(const std::vector<chart_record>& records);

}  // namespace duoskop
