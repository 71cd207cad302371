// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index's import (AAF or CSV into chart files of one folder) and export (chosen chart
// files into one AAF file), with a summary of what was written and what was passed over and why.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "kartei/listing.h"

namespace duoskop {

class Atlas;

struct ImportResult {
    std::string error;                            ///< UTF-8: the file could not be read at all, or is refused whole
    std::vector<std::filesystem::path> written;   ///< the chart files made, in the file's order
    std::vector<std::string> skipped;             ///< UTF-8, one per record: "Zeile 7: <reason>"
    std::vector<std::size_t> skipped_lines;       ///< the line of each skipped record
    std::vector<std::string> skipped_reasons;     ///< UTF-8: the reason of each skipped record alone
    std::size_t cp1252_lines = 0;                 ///< lines read as Windows-1252
};

/// Reads `file` as AAF (when it looks like it) or CSV (read_exchange) and writes one chart file per
/// good record into `folder` of the chart folder `root`, as the chart dialog writes a new chart:
/// never over another person's file, nor beside one whose name differs only in case. With
/// `replace`, a chart file of the same name (in any case) is replaced instead. Records that need
/// the place use `atlas` (may be nullptr). Nothing is imported into the shipped sample drive.
ImportResult import_charts(const std::filesystem::path& file, const std::filesystem::path& root,
                           const std::string& folder, const Atlas* atlas, bool replace = false);

struct ExportResult {
    std::size_t written = 0;            ///< charts in the AAF file
    std::vector<std::string> skipped;   ///< UTF-8 file names of entries that are no loadable chart or no AAF
    std::vector<std::string> reasons;   ///< UTF-8: why each of `skipped` was left out
    std::vector<std::string> notes;     ///< UTF-8: "file: note" for charts written as the computation reads them
    std::string error;                  ///< UTF-8: the AAF file could not be written
};

/// Writes the loadable entries as AAF (universal time as the chart computation reads it, Julian
/// day) to `target`, whole or not at all; an entry that AAF cannot carry (aaf_refusal) is skipped.
ExportResult export_charts(const std::vector<KarteiEntry>& entries, const std::filesystem::path& target);

/// The text of the import summary box (Windows-1252): "N geschrieben, M übersprungen", how many
/// lines were read as Windows-1252 when any, the folder (UTF-8, as shown), then the reasons, at
/// most `max_reasons` of them.
std::string import_summary(const ImportResult& result, const std::string& folder_shown, std::size_t max_reasons);

}  // namespace duoskop
