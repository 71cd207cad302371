// SPDX-License-Identifier: GPL-3.0-or-later
// The chart index: every file under drive C's astro\daten, subfolders included, with what the
// main window would make of it (the person's data and chart, or the message that stops the load).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/chart_state.h"
#include "app/dial.h"  // position_text, the way the chart index writes Sun, MC and AS

namespace duoskop {

/// One file of the chart folder.
struct KarteiEntry {
    std::filesystem::path path;
    std::string folder;     ///< UTF-8, relative to the chart folder, '/'-separated; empty for the folder itself
    std::string file_name;  ///< UTF-8 (bytes that are no UTF-8 shown as U+FFFD)
    bool readable = false;  ///< a whole record could be read; `record`, `birth`, `positions` hold it
    bool loadable = false;  ///< the main window loads it as a person
    /// Windows-1252: the message the main window shows instead; for a loadable file a note when its
    /// date, time or coordinates are no real ones (reading_note), else empty.
    std::string reason;
    chart_record record;
    BirthData birth;
    Positions positions{};
};

/// What lies under the chart folder.
struct Listing {
    std::vector<KarteiEntry> entries;          ///< by folder, then file name
    std::vector<std::filesystem::path> folders;  ///< the chart folder first, then every subfolder
};

/// Reads one file as the main window's "Name &1" would: never fails, any bytes.
KarteiEntry read_entry(const std::filesystem::path& root, const std::filesystem::path& file);

/// Every file under `root` and its subfolders. Hidden files and folders (a leading '.', such as
/// the half-written files of a save in progress) are left out, symbolic links to folders are not
/// followed, and a folder that cannot be read is skipped.
Listing list_charts(const std::filesystem::path& root);

/// A geographic coordinate in degrees as degrees, minutes and (when not zero) seconds with its
/// direction, such as "16°22' O" or "34°36'15\" S"; `positive`/`negative` name the directions.
std::string coordinate_text(double degrees, std::string_view positive, std::string_view negative);

/// Sort key of a record's birth date and time: YYYYMMDD, then the seconds of the day (6 digits).
long long birth_sort_key(const BirthData& birth);

}  // namespace duoskop
