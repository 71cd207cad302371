// SPDX-License-Identifier: GPL-3.0-or-later
// The client's report as content: both persons with their birth data and positions, a chapter
// per chosen comparison (report lines, result entries, each entry's text and where it comes
// from, optionally its Zeitprobe result) and the settings the run rests on. All texts are
// Windows-1252; the layout of the document is done elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "base/drive_c.h"
#include "precise/precise_positions.h"
#include "results/ktexte.h"
#include "results/result_text.h"
#include "ephemeris/ephemeris.h"
#include "timeline/timeline.h"
#include "timeprobe/time_probe.h"

namespace duoskop {

/// Where the text shown for an entry comes from.
enum class TextSource {
    picture,  ///< the picture text of the collection in "C:\PBTX\"
    singles,  ///< the single meanings of its two midpoints from KTEXTE.txt
    none,     ///< neither (or reading the collection failed: see `io_error`)
};

/// The text the program shows for an entry, as lines without trailing blanks.
struct EntryText {
    TextSource source = TextSource::none;
    /// picture: the kept lines of the picture text; singles: "K1: T1" and "K2: T2".
    std::vector<std::string> lines;
    std::string io_error;  ///< the I/O error that stopped reading the collection, else empty
};

/// Resolves `entry` through `resolve_entry` (results/pictures.h) and says what it found.
EntryText entry_text(std::string_view entry, const Ktexte& ktexte, const DriveC& drive);

struct ReportEntry {
    std::string entry;  ///< XX/YY=AA/BB
    EntryCharts charts;
    EntryText text;
    std::optional<EntryStability> stability;  ///< with a Zeitprobe only
};

struct ReportChapter {
    Comparison comparison = Comparison::solar;
    std::string title;               ///< the comparison's analysis title
    std::vector<std::string> lines;  ///< its report lines
    std::vector<ReportEntry> entries;
};

struct ReportPerson {
    chart_record record;
    Positions pos{};
};

/// What the report rests on; shown in every page's footer.
struct ReportSettings {
    std::string version;  ///< program version, such as "1.8"
    Orbs orbs;
    bool halfsum_orb_used = false;  ///< the half-sum evaluation is among the chapters
    PositionSource source = PositionSource::theory;
    std::string text_collection;  ///< the name of the picture texts' folder (Windows-1252), never a path
    DriveKind drive_kind = DriveKind::chosen;  ///< the drive C the texts come from
    bool ktexte_da = false;       ///< the single meanings were loaded
    std::optional<TimeWindow> time_window;
};

/// The chapter of the hits in time: the clusters first, then the hits on the comparisons' points
/// month by month.
struct ReportTimeline {
    std::string title;                   ///< "Auslösungen 01.01.2025–31.12.2026"
    std::vector<std::string> notes;      ///< whose birth time is unknown, what is left out
    std::vector<std::string> clusters;   ///< one line per cluster
    struct Month {
        std::string title;                           ///< "März 2025"
        std::vector<std::vector<std::string>> rows;  ///< Datum, Zeit (UT), Auslöser, Winkel, Ziel, Richtung
    };
    std::vector<Month> months;
};

struct ReportModel {
    std::string title;                    ///< optional title of the title page
    std::vector<std::string> astrologer;  ///< optional lines: name, address
    ReportPerson person1;
    ReportPerson person2;
    std::vector<ReportChapter> chapters;  ///< in the order of the menu
    std::optional<ReportTimeline> timeline;  ///< after the comparisons, when asked for
    /// The graphic ephemeris of the timeline's range, drawn at the end of that chapter, when asked for.
    std::optional<Ephemeris> ephemeris;
    std::string ephemeris_title;  ///< "Grafische Ephemeride Eva Albrecht – Karl Hollmann, ..."
    ReportSettings settings;
};

/// The range of the chapter of hits in time: whole days of universal time, both included.
struct ReportRange {
    double from = 0;  ///< Julian day of 0h of the first day
    double to = 0;    ///< Julian day of 24h of the last day
};

/// What the user asks for.
struct ReportRequest {
    std::vector<Comparison> comparisons;  ///< any order, repeats ignored
    Orbs orbs;
    PositionSource source = PositionSource::theory;  ///< where the chart's positions came from
    std::optional<TimeWindow> time_window;            ///< mark each entry with its Zeitprobe result
    ProbeOptions probe;                               ///< the probe's chart computation
    std::string title;
    std::vector<std::string> astrologer;
    std::string version;
    /// A chapter of the hits of both solar arcs and the transits (precise, unless the range lies
    /// outside the years of the precise positions) on the comparisons' points in this range.
    std::optional<ReportRange> timeline;
    /// With the chapter of hits in time: its range as a graphic ephemeris on the 22.5-degree dial
    /// (the movers of the dial's outer ring, the targets of that chapter).
    bool ephemeris = false;
};

/// The chapter of hits in time for the pair (the whole list; the report shows the hits on the
/// comparisons' points), its title "Auslösungen FROM–TO" with the range's first and last day.
ReportTimeline report_timeline(const Timeline& timeline, const ReportRange& range, const chart_record& person1,
                               const chart_record& person2);

/// Runs the chosen comparisons on the loaded pair `chart` as their menu entries do (the half-sum
/// evaluation on the counts of the simple complements) and gathers the report's content; each
/// entry's text comes from `entry_text`. Reads the text files; writes nothing.
ReportModel build_report(const ChartState& chart, const ReportRequest& request, const Ktexte& ktexte,
                         const DriveC& drive);

/// The comparisons in the order of the menu, each once.
std::vector<Comparison> menu_order(const std::vector<Comparison>& comparisons);

/// The command-line name of a comparison: solar, double, simple, halfsum, list.
std::string_view comparison_name(Comparison comparison);
/// A comparison by its command-line name.
std::optional<Comparison> comparison_by_name(std::string_view name);

/// An orb as the report writes it: decimal comma, at least one decimal, no locale ("0,5").
std::string orb_text(double orb);

/// The footer's settings line: version, orbs, position source, text collection (its folder's
/// name and the kind of drive C, never a path, for the report goes to the client) and Zeitprobe.
std::string settings_line(const ReportSettings& settings);

/// The mark of an entry's text source: "Bildtext", "Einzeltexte" or "kein Text".
std::string_view source_mark(TextSource source);

}  // namespace duoskop
