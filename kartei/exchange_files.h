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
    std::string error;                            ///< UTF-8: the file could not be read at all
    std::vector<std::filesystem::path> written;   ///< the chart files made, in the file's order
    std::vector<std::string> skipped;             ///< UTF-8, one per record: "Zeile 7: <reason>"
};

/// Reads `file` as AAF (when it looks like it) or CSV and writes one chart file per good record
/// into `folder` of the chart folder `root`, as the chart dialog writes a new chart: never over
/// another person's file. Records that need the place use `atlas` (may be nullptr).
ImportResult import_charts(const std::filesystem::path& file, const std::filesystem::path& root,
                           const std::string& folder, const Atlas* atlas);

struct ExportResult {
    std::size_t written = 0;            ///< charts in the AAF file
    std::vector<std::string> skipped;   ///< UTF-8 file names of entries that are no loadable chart
    std::string error;                  ///< UTF-8: the AAF file could not be written
};

/// Writes the loadable entries as AAF (universal time, Julian day) to `target`, whole or not at all.
ExportResult export_charts(const std::vector<KarteiEntry>& entries, const std::filesystem::path& target);

/// The text of the import summary box (Windows-1252): "N geschrieben, M übersprungen", the
/// folder (UTF-8, as shown), then the reasons, at most `max_reasons` of them.
std::string import_summary(const ImportResult& result, const std::string& folder_shown, std::size_t max_reasons);

}  // namespace duoskop
