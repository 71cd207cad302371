// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_model.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/cp1252.h"
#include "report/report_texts.h"
#include "results/pictures.h"
#include "timeline/timeline_export.h"
#include "timeline/timeline_texts.h"

namespace duoskop {

namespace {

struct ComparisonName {
    Comparison comparison;
    std::string_view name;
};
// In the order of the menu: Solar, MC-MC (doppelte, einfache, Halbsummen), MC-AS-Liste.
inline constexpr ComparisonName comparison_names[] = {
    {Comparison::solar, "solar"},       {Comparison::doubles, "double"},
    {Comparison::simples, "simple"},    {Comparison::halfsums, "halfsum"},
    {Comparison::list, "list"},
};
static_assert(std::size(comparison_names) == all_comparisons.size());

/// The kind of drive C as the report names it.
std::string_view drive_kind_text(DriveKind kind)
{
    switch (kind) {
    case DriveKind::personal: return texts::kReportDrivePersonal;
    case DriveKind::wine: return texts::kReportDriveWine;
    case DriveKind::sample: return texts::kReportDriveSample;
    case DriveKind::chosen: break;
    }
    return texts::kReportDriveChosen;
}

std::string trim_right(std::string line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

EntryText entry_text(std::string_view entry, const Ktexte& ktexte, const DriveC& drive)
{
    const Resolution r = resolve_entry(entry, ktexte, drive);
    EntryText text;
    if (!r.io_error.empty()) {
        text.io_error = r.io_error;
        return text;
    }
    if (r.found) {
        text.source = TextSource::picture;
        for (const std::string& line : r.lines) text.lines.push_back(trim_right(line));
        return text;
    }
    if (r.singles && !(r.text1.empty() && r.text2.empty())) {
        text.source = TextSource::singles;
        text.lines.push_back(r.key1 + ": " + trim_right(r.text1));
        text.lines.push_back(r.key2 + ": " + trim_right(r.text2));
    }
    return text;
}

std::vector<Comparison> menu_order(const std::vector<Comparison>& comparisons)
{
    std::vector<Comparison> ordered;
    for (const Comparison c : all_comparisons)
        if (std::find(comparisons.begin(), comparisons.end(), c) != comparisons.end()) ordered.push_back(c);
    return ordered;
}

std::string_view comparison_name(Comparison comparison)
{
    for (const ComparisonName& n : comparison_names)
        if (n.comparison == comparison) return n.name;
    return {};
}

std::optional<Comparison> comparison_by_name(std::string_view name)
{
    for (const ComparisonName& n : comparison_names)
        if (n.name == name) return n.comparison;
    return std::nullopt;
}

std::string orb_text(double orb)
{
    // Two decimals, the second dropped when it is 0: 1,0 / 0,5 / 0,25.
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), orb,
                                            std::chars_format::fixed, 2);
    if (error != std::errc()) return "?";
    std::string text(buffer.data(), end);
    if (text.size() > 1 && text.back() == '0') text.pop_back();
    if (text == "-0.0") text = "0.0";
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string settings_line(const ReportSettings& s)
{
    std::string line = "Duoskop " + s.version + " \xB7 " + std::string(texts::kReportOrbs) +
                       orb_text(s.orbs.orb_double) + "\xB0" + std::string(texts::kReportOrbSimple) +
                       orb_text(s.orbs.orb_simple) + "\xB0";
    if (s.halfsum_orb_used)
        line += std::string(texts::kReportOrbHalfsum) + orb_text(s.orbs.orb_halfsum) + "\xB0";
    line += " \xB7 ";
    line += s.source == PositionSource::precise ? std::string(texts::kReportSourcePrecise)
                                                : std::string(texts::kReportSourceTheory);
    line += " \xB7 " + std::string(texts::kReportTexts) + s.text_collection + std::string(texts::kReportDrive) +
            std::string(drive_kind_text(s.drive_kind));
    if (!s.ktexte_da) line += texts::kReportNoSingles;
    if (s.time_window) {
        line += " \xB7 " + std::string(texts::kReportTimeWindow) + std::to_string(s.time_window->person1) +
                "/" + std::to_string(s.time_window->person2) + std::string(texts::kReportMinutes);
    }
    return line;
}

std::string_view source_mark(TextSource source)
{
    switch (source) {
    case TextSource::picture: return texts::kReportSourcePicture;
    case TextSource::singles: return texts::kReportSourceSingles;
    case TextSource::none: break;
    }
    return texts::kReportSourceNone;
}

ReportTimeline report_timeline(const Timeline& timeline, const ReportRange& range, const chart_record& person1,
                               const chart_record& person2)
{
    ReportTimeline chapter;
    chapter.title = std::string(texts::kReportTimeline) + date_text(minute_time(range.from)) + "\x96" +
                    date_text(minute_time(range.to - 1));
    chapter.notes = unknown_time_notes(timeline, person1.name, person2.name);
    for (const Cluster& c : timeline.clusters) {
        std::string line = date_text(minute_time(c.first)) + " \x96 " + date_text(minute_time(c.last)) + ": " +
                           std::to_string(c.hits.size()) + std::string(texts::kClusterHits) +
                           std::to_string(c.targets) + std::string(texts::kClusterTargets);
        if (c.beide) line += texts::kClusterBoth;
        // The targets of the cluster, each once, in the order first hit.
        std::vector<std::string> names;
        for (const std::uint32_t i : c.hits) {
            const std::string name = point_name(timeline.targets[timeline.hits[i].target].point);
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        // At most 24 names; a long run says how many more.
        line += " (";
        for (std::size_t k = 0; k < names.size() && k < 24; ++k) line += (k ? ", " : "") + names[k];
        if (names.size() > 24) line += std::string(texts::kReportMoreTargets1) + std::to_string(names.size() - 24) +
                                       std::string(texts::kReportMoreTargets2);
        chapter.clusters.push_back(line + ")");
    }
    for (const Hit& hit : timeline.hits) {
        if (!hit.ergebnis) continue;
        const MinuteTime t = minute_time(hit.instant);
        const std::string month = std::string(texts::kReportMonths[t.month - 1]) + " " + std::to_string(t.year);
        if (chapter.months.empty() || chapter.months.back().title != month) chapter.months.push_back({month, {}});
        std::vector<std::string> row = hit_fields(timeline, hit);
        row.pop_back();  // all of them are in the Ergebnis
        chapter.months.back().rows.push_back(std::move(row));
    }
    return chapter;
}

ReportModel build_report(const ChartState& chart, const ReportRequest& request, const Ktexte& ktexte,
                         const DriveC& drive)
{
    ReportModel model;
    model.title = request.title;
    model.astrologer = request.astrologer;
    model.person1 = {chart.person1, chart.pos1};
    model.person2 = {chart.person2, chart.pos2};

    const std::vector<Comparison> chosen = menu_order(request.comparisons);
    std::vector<ProbeTarget> targets;
    for (const Comparison c : chosen) {
        ResultText result = run_comparison(c, chart, request.orbs);
        ReportChapter chapter;
        chapter.comparison = c;
        chapter.title = result.analysis_title;
        chapter.lines = std::move(result.lines);
        for (std::size_t i = 0; i < result.entries.size(); ++i) {
            ReportEntry entry;
            entry.entry = result.entries[i];
            if (i < result.entry_charts.size()) entry.charts = result.entry_charts[i];
            entry.text = entry_text(entry.entry, ktexte, drive);
            chapter.entries.push_back(std::move(entry));
        }
        if (request.time_window) targets.push_back({c, result.entries});
        model.chapters.push_back(std::move(chapter));
    }

    if (request.time_window && !targets.empty()) {
        const auto probes = time_probe(targets, chart, request.orbs, *request.time_window, request.probe);
        for (std::size_t c = 0; c < model.chapters.size() && c < probes.size(); ++c)
            for (std::size_t i = 0; i < model.chapters[c].entries.size() && i < probes[c].size(); ++i)
                model.chapters[c].entries[i].stability = probes[c][i];
    }

    if (request.timeline) {
        TimelineRequest t;
        t.from = request.timeline->from;
        t.to = request.timeline->to;
        t.natal_source = request.source;
        // The precise transits where they hold, else the theory's.
        const bool precise_years =
            instant_at(t.from).year >= precise_first_year && instant_at(t.to - 0.5).year <= precise_last_year;
        t.transit_source = precise_years ? PositionSource::precise : PositionSource::theory;
        t.orbs = request.orbs;
        const Timeline timeline = compute_timeline(chart, t);
        model.timeline = report_timeline(timeline, *request.timeline, chart.person1, chart.person2);
        if (request.ephemeris) {
            TimelineRequest e = ephemeris_request(t.from, t.to);
            e.natal_source = t.natal_source;
            e.transit_source = t.transit_source;
            e.orbs = t.orbs;
            model.ephemeris = compute_ephemeris(chart, e, ephemeris_moduli[0]);
            model.ephemeris_title = ephemeris_title(chart, t.from, t.to, ephemeris_moduli[0]);
        }
    }

    ReportSettings& s = model.settings;
    s.version = request.version;
    s.orbs = request.orbs;
    s.halfsum_orb_used = std::find(chosen.begin(), chosen.end(), Comparison::halfsums) != chosen.end();
    s.source = request.source;
    s.text_collection = cp1252_of_file_name(drive.resolve("C:\\PBTX\\").filename().string());
    s.drive_kind = drive_kind(drive.root());
    s.ktexte_da = ktexte.ktexte_da;
    s.time_window = request.time_window;
    return model;
}

}  // namespace duoskop
