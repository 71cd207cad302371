// SPDX-License-Identifier: GPL-3.0-or-later
// axes and compare: load two persons as the program does, then show the search-axis block or run
// one of the five comparisons and write its result text and result entries.
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "app/dial.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "precise/precise_positions.h"
#include "results/report.h"
#include "timeprobe/time_probe.h"

namespace duoskop::cli {

constexpr OptionRule axes_rule_table[] = {{precise_option}, {"--report", 1}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> axes_rules = axes_rule_table;
constexpr OptionRule compare_rule_table[] = {
    {precise_option},     {"--report", 1},  {"--drive-c", 1}, {"--json"},
    {"--entries", 1},     {"--analysis", 1}, {"--double", 1},  {"--simple", 1},
    {"--halfsum", 1},     {"--time-window", 1}, {"--export-texts", 2}};
constinit const std::span<const OptionRule> compare_rules = compare_rule_table;

/// Loads person 1 and person 2; on failure prints the program's message and returns false.
/// Relative names not found as given are looked for in drive C's astro\daten.
bool load_persons(const std::string& path1, const std::string& path2, const DriveC& drive,
                  PositionSource source, ChartState& chart, bool name_file)
{
    for (int person = 1; person <= 2; ++person) {
        const std::string& given = person == 1 ? path1 : path2;
        const LoadResult loaded = holen(chart_file_path(given, drive), person, chart, source);
        if (loaded.outcome != LoadOutcome::loaded) {
            std::fflush(stdout);
            if (name_file) std::fprintf(stderr, "duoskop-cli: %s: ", valid_utf8(given).c_str());
            std::fprintf(stderr, "%s\n", terminal_text(loaded.message).c_str());
            return false;
        }
    }
    return true;
}

namespace {

void print_lines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) std::printf("%s\n", terminal_text(line).c_str());
}

/// Writes `lines` as a saved report (Windows-1252, CR LF); prints the error and returns false on failure.
bool write_report(const std::string& path, const std::vector<std::string>& lines)
{
    const std::string error = write_text_file(path, lines);
    if (error.empty()) return true;
    std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(error).c_str());
    return false;
}

/// Writes the result entries, each followed by LF, whole or not at all; prints the error and
/// returns false on failure.
bool write_entries(const std::string& path, const std::vector<std::string>& entries)
{
    std::string bytes;
    for (const std::string& entry : entries) bytes += entry + '\n';
    const WriteResult written = write_file_whole(path, bytes);
    if (written.ok()) return true;
    std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(),
                 terminal_text(written.message()).c_str());
    return false;
}

// The probe computes the shifted charts from the source the loaded ones came from.
ProbeOptions probe_options(PositionSource source)
{
    ProbeOptions options;
    options.source = source;
    return options;
}

std::optional<Comparison> parse_analysis(const std::string& name)
{
    if (name == "solar") return Comparison::solar;
    if (name == "double") return Comparison::doubles;
    if (name == "simple") return Comparison::simples;
    if (name == "halfsum") return Comparison::halfsums;
    if (name == "list") return Comparison::list;
    return std::nullopt;
}

/// The entries, each followed by a tab and its stability when the time probe ran.
std::vector<std::string> entry_lines(const ResultText& result, const std::vector<EntryStability>& probe,
                                     const std::optional<TimeWindow>& window)
{
    std::vector<std::string> lines = result.entries;
    if (!window) return lines;
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] += "\t" + stability_text(probe[i], *window);
    return lines;
}

/// Title, caption, report lines and entries as one JSON object (UTF-8), the stabilities with the
/// entries when the time probe ran.
std::string json_text(const ResultText& result, const std::vector<EntryStability>& probe,
                      const std::optional<TimeWindow>& window)
{
    using Json = nlohmann::ordered_json;
    Json lines = Json::array();
    for (const std::string& line : result.lines) lines.push_back(cp1252_to_utf8(line));
    Json entries = Json::array();
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        Json entry = {{"text", cp1252_to_utf8(result.entries[i])}};
        if (window) {
            const EntryStability& s = probe[i];
            entry["time_window"] = {{"fest", holds_over(s, *window)},
                                    {"person1", {s.person1.lo, s.person1.hi}},
                                    {"person2", {s.person2.lo, s.person2.hi}}};
        }
        entries.push_back(std::move(entry));
    }
    Json out = {{"title", cp1252_to_utf8(result.analysis_title)},
                {"caption", cp1252_to_utf8(result.caption)},
                {"lines", std::move(lines)},
                {"entries", std::move(entries)}};
    if (window) out["time_window"] = {{"person1", window->person1}, {"person2", window->person2}};
    return out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

struct CompareOptions {
    std::vector<std::string> persons;
    std::optional<Comparison> analysis;
    std::optional<double> orb_double;
    std::optional<double> orb_simple;
    std::optional<double> orb_halfsum;
    std::optional<std::string> report;
    std::optional<std::string> entries;
    std::optional<std::string> export_scope;
    std::optional<std::string> export_file;
    std::optional<std::string> drive_c;
    PositionSource source = PositionSource::theory;
    std::optional<TimeWindow> time_window;
    bool json = false;
};

/// Reads the arguments of compare (or, with `axes_only`, of axes); false on wrong usage.
bool parse_options(const Args& args, bool axes_only, CompareOptions& options)
{
    const ReadOptions o = read_options(args, axes_only ? axes_rules : compare_rules);
    if (!o.ok()) return false;
    options.persons = o.positionals;
    if (o.has(precise_option)) options.source = PositionSource::precise;
    options.json = o.has("--json");
    options.report = o.value("--report");
    options.drive_c = o.value("--drive-c");
    options.entries = o.value("--entries");
    for (const std::string& v : o.each("--analysis"))
        if (!(options.analysis = parse_analysis(v))) return false;
    const std::pair<const char*, std::optional<double>*> orbs[] = {
        {"--double", &options.orb_double}, {"--simple", &options.orb_simple}, {"--halfsum", &options.orb_halfsum}};
    for (const auto& [name, into] : orbs)
        for (const std::string& v : o.each(name))
            if (!(*into = parse_orb(v))) return false;
    for (const std::string& v : o.each("--time-window"))
        if (!(options.time_window = parse_time_window(v))) return false;
    for (const ReadOptions::Given& g : o.given) {
        if (g.name != "--export-texts") continue;
        if (g.values[0] != "bilder" && g.values[0] != "alle") return false;
        options.export_scope = g.values[0];
        options.export_file = g.values[1];
    }
    return options.persons.size() == 2;
}

}  // namespace

/// "N1" or "N1,N2": whole minutes 0..720 for each birth time; N2 defaults to N1.
std::optional<TimeWindow> parse_time_window(const std::string& text)
{
    const auto minutes = [](std::string_view part) -> std::optional<int> {
        const auto value = parse_whole(part, 0, max_time_window);
        if (!value) return std::nullopt;
        return static_cast<int>(*value);
    };
    const std::size_t comma = text.find(',');
    const auto n1 = minutes(std::string_view(text).substr(0, comma));
    if (!n1) return std::nullopt;
    if (comma == std::string::npos) return TimeWindow{*n1, *n1};
    const auto n2 = minutes(std::string_view(text).substr(comma + 1));
    if (!n2) return std::nullopt;
    return TimeWindow{*n1, *n2};
}

int cmd_axes(const Args& args)
{
    CompareOptions options;
    if (!parse_options(args, true, options)) return usage("axes");
    ChartState chart;
    if (!load_persons(options.persons[0], options.persons[1], DriveC::locate(options.drive_c),
                      options.source, chart))
        return 1;
    const std::vector<std::string> lines = search_axis_lines(chart.pos1, chart.pos2, chart.axes);
    print_lines(lines);
    if (options.report && !write_report(*options.report, lines)) return 1;
    return 0;
}

int cmd_compare(const Args& args)
{
    CompareOptions options;
    if (!parse_options(args, false, options) || !options.analysis || !options.orb_double ||
        !options.orb_simple)
        return usage("compare");
    // The half-sum evaluation waits for a positive orb; the command line must bring one.
    if (*options.analysis == Comparison::halfsums && !(options.orb_halfsum && *options.orb_halfsum > 0))
        return usage("compare");

    const DriveC drive = DriveC::locate(options.drive_c);
    ChartState chart;
    if (!load_persons(options.persons[0], options.persons[1], drive, options.source, chart)) return 1;
    const Orbs orbs{*options.orb_double, *options.orb_simple, options.orb_halfsum.value_or(0)};
    const ResultText result = run_comparison(*options.analysis, chart, orbs);
    std::vector<EntryStability> probe;
    if (options.time_window)
        probe = time_probe(*options.analysis, chart, orbs, result.entries, *options.time_window,
                           probe_options(options.source));
    const std::vector<std::string> entries = entry_lines(result, probe, options.time_window);

    if (options.json) {
        std::fputs(json_text(result, probe, options.time_window).c_str(), stdout);
    } else {
        print_lines(result.lines);
        print_lines(entries);
    }
    std::fflush(stdout);
    if (options.report && !write_report(*options.report, result.lines)) return 1;
    if (options.entries && !write_entries(*options.entries, entries)) return 1;
    if (options.export_scope)
        return write_export_texts(*options.export_scope, *options.export_file, result, chart, drive);
    return 0;
}

}  // namespace duoskop::cli
