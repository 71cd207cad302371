// SPDX-License-Identifier: GPL-3.0-or-later
// timeline: when solar arcs and transits reach the points of a pair ("Auslösungen"), as a German
// table, tab-separated lines or JSON, and as CSV and calendar files.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "cli/timeline_options.h"
#include "dialview/dial_view.h"
#include "precise/precise_positions.h"
#include "timeline/timeline.h"
#include "timeline/timeline_export.h"
#include "timeline/timeline_texts.h"

namespace duoskop::cli {

constexpr OptionRule timeline_rule_table[] = {
    {"--from", 1},    {"--to", 1},        {"--movers", 1}, {"--transits", 1},      {"--targets", 1},
    {"--arc", 1},     {precise_option},   {"--transits-from", 1}, {"--double", 1}, {"--simple", 1},
    {"--halfsum", 1}, {"--clusters", 1},  {"--tsv"},       {"--csv", 1, false},    {"--ics", 1, false},
    {"--json"},       {"--zone", 1},      {"--drive-c", 1}};
constinit const std::span<const OptionRule> timeline_rules = timeline_rule_table;

namespace {

struct TimelineOptions {
    std::vector<std::string> persons;
    std::optional<CivilTime> from, to;
    std::string from_text, to_text;
    TimelineRequest request;
    std::optional<double> orb_double, orb_simple, orb_halfsum;
    bool tsv = false;
    bool json = false;
    std::optional<std::string> csv, ics, drive_c;
    ZoneRule zone;
};

/// Wrong usage: the reason on stderr, then the call; exit status 2.
int refuse(const std::string& reason)
{
    std::fprintf(stderr, "duoskop-cli timeline: %s\n", reason.c_str());
    return usage("timeline");
}

std::string quoted(const std::string& text) { return "\"" + valid_utf8(text) + "\""; }

/// Reads the arguments; the reason (UTF-8) when they are wrong, else empty.
std::string parse_timeline_options(const Args& args, TimelineOptions& o)
{
    const ReadOptions read = read_options(args, timeline_rules);
    if (!read.ok()) return read.problem;
    o.persons = read.positionals;
    TimelineRequest& r = o.request;
    if (read.has(precise_option)) r.natal_source = PositionSource::precise;
    o.tsv = read.has("--tsv");
    o.json = read.has("--json");
    o.csv = read.value("--csv");
    o.ics = read.value("--ics");
    o.drive_c = read.value("--drive-c");
    o.zone = system_zone();
    // Each value is checked in the order given, so that the first wrong one is named.
    for (const ReadOptions::Given& g : read.given) {
        if (g.values.empty()) continue;
        const std::string a(g.name);
        const std::string& v = g.values.front();
        if (a == "--from" || a == "--to") {
            const std::optional<CivilTime> date = parse_date(v);
            if (!date) return quoted(v) + " ist kein Datum TT.MM.JJJJ f\u00FCr " + a;
            (a == "--from" ? o.from : o.to) = date;
            (a == "--from" ? o.from_text : o.to_text) = v;
        } else if (is_timeline_option(a)) {
            if (std::string problem = read_timeline_option(a, v, r); !problem.empty()) return problem;
        } else if (a == "--double" || a == "--simple" || a == "--halfsum") {
            std::optional<double>& into = a == "--double" ? o.orb_double : a == "--simple" ? o.orb_simple : o.orb_halfsum;
            if (!(into = parse_orb(v))) return quoted(v) + " ist kein Orbis f\u00FCr " + a;
        } else if (a == "--clusters") {
            const std::vector<std::string> parts = split(v, ',');
            const auto days = parse_whole(parts[0], 0, 36525);
            const auto targets = parts.size() == 2 ? parse_whole(parts[1], 1, 1000) : std::optional<long long>(3);
            if (parts.size() > 2 || !days || !targets)
                return quoted(v) + " ist keine Angabe f\u00FCr --clusters (N Tage, 0 bis 36525, und K Ziele, 1 bis 1000)";
            r.cluster_days = static_cast<double>(*days);
            r.cluster_targets = static_cast<std::size_t>(*targets);
        } else if (a == "--zone") {
            std::string error;
            const std::optional<ZoneRule> zone = parse_zone(v, error);
            if (!zone) return cp1252_to_utf8(error);
            if (zone->kind == ZoneRule::Kind::lmt)
                return "--zone LMT geht hier nicht: die mittlere Ortszeit braucht einen Ort";
            o.zone = *zone;
        }
    }
    if (o.persons.size() != 2) return "zwei Horoskop-Dateien P1 und P2 sind n\u00F6tig";
    if (!o.from || !o.to) return "--from und --to sind n\u00F6tig";
    if (o.orb_double.has_value() != o.orb_simple.has_value()) return "--double und --simple nur zusammen";
    if (o.orb_halfsum && !o.orb_double) return "--halfsum nur mit --double und --simple";
    if (o.tsv && o.json) return "--tsv und --json schreiben beide auf die Standardausgabe: nur eines davon";
    if (!r.arc1 && !r.arc2 && !r.transits) return "mindestens ein Ausl\u00F6ser (sb1, sb2, t) ist n\u00F6tig";
    if (r.transits && r.transit_bodies.empty()) return "--transits nennt keinen K\u00F6rper";
    return {};
}

/// The range as instants, or the German reason (UTF-8) why it is refused.
std::string range_problem(TimelineOptions& o)
{
    o.request.from = julian_day(*o.from);
    o.request.to = julian_day(*o.to) + 1;  // 24:00 of the last day
    if (o.request.to - 1 < o.request.from)
        return "der Zeitraum ist leer: " + o.to_text + " liegt vor " + o.from_text;
    return precise_range_problem(o.request);
}

std::string padded(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

/// The clusters as lines (Windows-1252).
std::vector<std::string> cluster_lines(const Timeline& t)
{
    std::vector<std::string> lines;
    for (const Cluster& c : t.clusters) {
        std::string line = date_text(minute_time(c.first)) + " \x96 " + date_text(minute_time(c.last)) + "  " +
                           std::to_string(c.hits.size()) + std::string(texts::kClusterHits) +
                           std::to_string(c.targets) + std::string(texts::kClusterTargets);
        line += std::string(texts::kClusterPersons) +
                (c.touches1 && c.touches2 ? "1 und 2" : c.touches1 ? "1" : "2");
        if (c.beide) line += texts::kClusterBoth;
        lines.push_back(line);
    }
    return lines;
}

/// The readable table (Windows-1252): the notes first, then the range and zone, the hits with
/// their universal and local time, the clusters.
std::string table_text(const Timeline& t, const TimelineOptions& o, const std::vector<std::string>& notes)
{
    std::string out;
    for (const std::string& note : notes) out += note + "\n";
    out += "Ausl\xF6sungen " + date_text(minute_time(o.request.from)) + " bis " +
           date_text(minute_time(o.request.to - 1)) + ", Zeit in UT und als Ortszeit " + o.zone.name + "\n\n";
    if (t.hits.empty()) return out + "Keine Treffer.\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> header = hit_header();
    header[1] = "UT";
    header.insert(header.begin() + 2, "Ortszeit");
    rows.push_back(header);
    for (const Hit& hit : t.hits) {
        std::vector<std::string> fields = hit_fields(t, hit);
        // The local time of the same minute as the universal time shown.
        const MinuteTime m = minute_time(hit.instant);
        const double minute = static_cast<double>(m.day_number) - 0.5 + (m.hour * 60 + m.minute) / 1440.0;
        std::string local;
        if (const std::optional<LocalTime> l = to_local(minute, o.zone, NAN)) {
            char text[40];
            std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d ", l->local.day, l->local.month, l->local.year,
                          l->local.hour, l->local.minute);
            local = text + l->abbreviation;
        } else {
            local = "\x96";
        }
        fields.insert(fields.begin() + 2, local);
        rows.push_back(std::move(fields));
    }
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) line += i + 1 < row.size() ? padded(row[i], widths[i] + 2) : row[i];
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    }
    out += "\n" + std::string(texts::kClusterHeading) + " (h\xF6" "chstens " +
           std::to_string(static_cast<long long>(o.request.cluster_days)) + " Tage von Treffer zu Treffer, mindestens " +
           std::to_string(o.request.cluster_targets) + " Ziele im Ergebnis):\n";
    const std::vector<std::string> clusters = cluster_lines(t);
    if (clusters.empty()) out += std::string(texts::kClusterNone) + "\n";
    for (const std::string& line : clusters) out += line + "\n";
    return out;
}

std::string json_string(const std::string& cp1252)
{
    std::string out = "\"";
    for (const char c : cp1252_to_utf8(cp1252)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

/// The run as one JSON object (UTF-8), one hit a line.
std::string json_text(const Timeline& t, const TimelineOptions& o, const ChartState& chart,
                      const std::vector<std::string>& notes)
{
    std::string out = "{\n";
    out += "  \"from\": " + json_string(date_text(minute_time(o.request.from))) + ",\n";
    out += "  \"to\": " + json_string(date_text(minute_time(o.request.to - 1))) + ",\n";
    out += "  \"persons\": [";
    for (int p = 1; p <= 2; ++p) {
        const chart_record& r = p == 1 ? chart.person1 : chart.person2;
        out += std::string(p == 1 ? "" : ", ") + "{\"name\": " + json_string(r.name) +
               ", \"first_name\": " + json_string(r.first_name) +
               ", \"time_known\": " + ((p == 1 ? t.time_known1 : t.time_known2) ? "true" : "false") + "}";
    }
    out += "],\n  \"notes\": [";
    for (std::size_t i = 0; i < notes.size(); ++i) out += (i ? ", " : "") + json_string(notes[i]);
    out += "],\n  \"hits\": [";
    for (std::size_t i = 0; i < t.hits.size(); ++i) {
        const Hit& h = t.hits[i];
        const std::vector<std::string> f = hit_fields(t, h);
        char digits[40];
        const auto written = std::to_chars(digits, digits + sizeof digits, h.instant, std::chars_format::fixed, 6);
        const std::string instant(digits, written.ptr);
        out += std::string(i ? ",\n    " : "\n    ") + "{\"instant\": " + instant + ", \"date\": " + json_string(f[0]) +
               ", \"time\": " + json_string(f[1]) + ", \"mover\": " + json_string(f[2]) +
               ", \"angle\": " + json_string(f[3]) + ", \"target\": " + json_string(f[4]) +
               ", \"direction\": " + json_string(f[5]) + ", \"ergebnis\": " + (h.ergebnis ? "true" : "false") + "}";
    }
    out += t.hits.empty() ? "],\n" : "\n  ],\n";
    out += "  \"clusters\": [";
    for (std::size_t i = 0; i < t.clusters.size(); ++i) {
        const Cluster& c = t.clusters[i];
        std::string persons = c.touches1 && c.touches2 ? "[1, 2]" : c.touches1 ? "[1]" : "[2]";
        out += std::string(i ? ",\n    " : "\n    ") + "{\"from\": " + json_string(date_text(minute_time(c.first))) +
               ", \"to\": " + json_string(date_text(minute_time(c.last))) +
               ", \"hits\": " + std::to_string(c.hits.size()) + ", \"targets\": " + std::to_string(c.targets) +
               ", \"persons\": " + persons + ", \"beide\": " + (c.beide ? "true" : "false") + "}";
    }
    out += t.clusters.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

/// Writes a file whole or not at all; the message on stderr and false when that failed.
bool write_output(const std::string& path, const std::string& bytes)
{
    const WriteResult written = write_file_whole(path, bytes);
    if (written.ok()) return true;
    std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(written.message()).c_str());
    return false;
}

/// Standard output in one go per large piece.
void print(const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }

}  // namespace

int cmd_timeline(const Args& args)
{
    TimelineOptions o;
    if (const std::string problem = parse_timeline_options(args, o); !problem.empty()) return refuse(problem);
    if (const std::string problem = range_problem(o); !problem.empty()) return refuse(problem);

    const DriveC drive = DriveC::locate(o.drive_c);
    ChartState chart;
    if (!load_persons(o.persons[0], o.persons[1], drive, o.request.natal_source, chart, true)) return 1;
    if (o.orb_double) o.request.orbs = Orbs{*o.orb_double, *o.orb_simple, o.orb_halfsum.value_or(0)};
    const Timeline timeline = compute_timeline(chart, o.request);
    const std::vector<std::string> notes = unknown_time_notes(timeline, chart.person1.name, chart.person2.name);

    if (o.json) {
        print(json_text(timeline, o, chart, notes));
    } else if (o.tsv) {
        // The hits are ASCII; only the header and the notes need the conversion.
        print(terminal_text(timeline_tsv(timeline, notes)));
    } else {
        print(terminal_text(table_text(timeline, o, notes)));
    }
    std::fflush(stdout);
    int status = 0;
    if (o.csv && !write_output(*o.csv, timeline_csv(timeline))) status = 1;
    if (o.ics) {
        CalendarContext context{chart.person1, chart.person2, static_cast<std::int64_t>(std::time(nullptr)), DUOSKOP_VERSION};
        if (!write_output(*o.ics, timeline_ics(timeline, context))) status = 1;
    }
    return status;
}

}  // namespace duoskop::cli
