// SPDX-License-Identifier: GPL-3.0-or-later
// The partner ranking: one person against every chart file found under some paths. Each partner
// is loaded as person 2 exactly as a comparison loads it, and scored by the result entries of the
// double complements (D), the simple complements (E) and the MC-AS list (L).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "app/chart_state.h"
#include "timeprobe/time_probe.h"

namespace duoskop {

/// One partner that could be loaded, with its counts.
struct RankEntry {
    std::string path;        ///< the file as found (a Linux path, bytes as the file system has them)
    std::string name;        ///< the partner's `name` (Windows-1252)
    std::string first_name;  ///< the partner's `first_name` (Windows-1252)
    std::string birth_date;  ///< the partner's `date`, "TT.MM.JJJJ", to tell namesakes apart
    std::uint32_t d = 0;     ///< result entries of the double complements
    std::uint32_t e = 0;     ///< result entries of the simple complements
    std::uint32_t l = 0;     ///< result entries of the MC-AS list, without MC/AS=MC/AS
    /// With a time window: how many of those D + E + L entries are "fest", holding over both
    /// whole windows of the time probe.
    std::optional<std::uint32_t> f;
    std::uint32_t s() const { return d + e + l; }
};

/// A path that gave no partner, with the program's message (Windows-1252, as the load gives it;
/// it names the file only for some failures, so show the path beside it).
struct RankProblem {
    std::string path;
    std::string message;
};

/// The partner files found under some paths.
struct PartnerFiles {
    std::vector<std::string> files;     ///< in path order, each file once
    std::vector<RankProblem> problems;  ///< folders that could not be read, in path order
    std::size_t person1_skipped = 0;    ///< how often person 1's own file was found (and left out)
};

/// The partner files under `paths`: a path that names a folder stands for every regular file in
/// it and in its subfolders (hidden files and folders, whose names start with '.', left out; links
/// to folders not followed); any other path is taken as a chart file as it is, so that loading it
/// reports what is wrong with it. A file reached twice (a folder and a file in it, a link) counts
/// once; the same file as `person1_path` is left out.
PartnerFiles find_partner_files(const std::vector<std::string>& paths, const std::string& person1_path);

struct RankOptions {
    unsigned threads = 2;  ///< worker threads, each with its own chart state
    std::stop_token stop;  ///< a stop request ends the ranking after the partners under way
    /// Called from the worker threads (so it must be safe to call from any thread) with the number
    /// of files done so far, every few files and once at the end of each worker.
    std::function<void(std::size_t done)> progress;
    /// Where each partner's positions come from, as the loads of the desktop take them.
    PositionSource source = PositionSource::theory;
    /// With a window, each partner's entries also go through the time probe (column F).
    std::optional<TimeWindow> time_window;
};

struct Ranking {
    std::vector<RankEntry> entries;     ///< best first: S descending, then path ascending
    std::vector<RankProblem> problems;  ///< files that could not be loaded, in path order
    bool cancelled = false;             ///< stopped before every file was done
};

/// Ranks the partner charts in `files` against person 1 of `person1` (record and `pos1` as the
/// load of person 1 left them), each file loaded as person 2 exactly as the menu's load does.
Ranking rank_partners(const ChartState& person1, const std::vector<std::string>& files, const Orbs& orbs,
                      const RankOptions& options = {});

/// The counts of one loaded pair, from the comparisons as the menu runs them; with a time window
/// also the count of entries that hold over both whole windows (computed on the calling thread,
/// the shifted charts from `source`, the source of the pair's positions).
RankEntry count_entries(const ChartState& pair, const Orbs& orbs,
                        const std::optional<TimeWindow>& time_window = std::nullopt,
                        PositionSource source = PositionSource::theory);

/// The standard competition ranks of `entries` (best first): equal S share the rank of the first
/// of them, the next S counts every entry before it (1, 2, 2, 4).
std::vector<std::size_t> rank_numbers(const std::vector<RankEntry>& entries);

}  // namespace duoskop
