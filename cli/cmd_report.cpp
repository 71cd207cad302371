// SPDX-License-Identifier: GPL-3.0-or-later
// report: the client's report of two persons (title page, dial, positions, a chapter per
// comparison with its entries and their texts) as PDF, ODT and HTML, written without a display.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "cli/draw_common.h"
#include "cli/options.h"
#include "desktop/report_document.h"
#include "precise/precise_positions.h"
#include "report/report_model.h"
#include "results/ktexte.h"

namespace duoskop::cli {

namespace {

struct ReportOptions {
    std::vector<std::string> persons;
    std::optional<double> orb_double;
    std::optional<double> orb_simple;
    std::optional<double> orb_halfsum;
    std::vector<Comparison> comparisons{all_comparisons.begin(), all_comparisons.end()};
    std::optional<std::string> pdf;
    std::optional<std::string> odt;
    std::optional<std::string> html;
    std::string title;  ///< Windows-1252
    std::vector<std::string> astrologer;
    std::optional<std::string> drive_c;
    PositionSource source = PositionSource::theory;
    std::optional<TimeWindow> time_window;
    std::optional<ReportRange> timeline;
    bool ephemeris = false;
};

/// Wrong usage: the reason on stderr, then the call; exit status 2.
int refuse(const std::string& reason)
{
    std::fprintf(stderr, "duoskop-cli report: %s\n", reason.c_str());
    return usage("report");
}

/// Reads the arguments; the reason (UTF-8) when they are wrong, else empty.
std::string parse_report_options(const Args& args, ReportOptions& o)
{
    const ReadOptions read = read_options(args, report_rules);
    if (!read.ok()) return read.problem;
    o.persons = read.positionals;
    if (read.has(precise_option)) o.source = PositionSource::precise;
    o.ephemeris = read.has("--ephemeris");
    // Each value is checked in the order given, so that the first wrong one is named.
    for (const ReadOptions::Given& g : read.given) {
        if (g.values.empty()) continue;
        const std::string a(g.name);
        const std::string& v = g.values.front();
        const auto orb = [&](std::optional<double>& into) {
            into = parse_orb(v);
            return into ? std::string() : "\"" + valid_utf8(v) + "\" ist kein Orbis f\u00FCr " + a;
        };
        const auto text = [&](std::string& into) {
            const auto converted = utf8_to_cp1252(v);
            if (!converted) return a + ": Zeichen au\u00DFerhalb von Windows-1252";
            into = *converted;
            return std::string();
        };
        std::string problem;
        if (a == "--double") {
            problem = orb(o.orb_double);
        } else if (a == "--simple") {
            problem = orb(o.orb_simple);
        } else if (a == "--halfsum") {
            problem = orb(o.orb_halfsum);
        } else if (a == "--analyses") {
            o.comparisons.clear();
            for (const std::string& name : split(v, ',')) {
                const auto c = comparison_by_name(name);
                if (!c)
                    return "unbekannte Auswertung \"" + valid_utf8(name) +
                           "\" (m\u00F6glich: solar, double, simple, halfsum, list)";
                o.comparisons.push_back(*c);
            }
        } else if (a == "--pdf") {
            o.pdf = v;
        } else if (a == "--odt") {
            o.odt = v;
        } else if (a == "--html") {
            o.html = v;
        } else if (a == "--title") {
            problem = text(o.title);
        } else if (a == "--astrologer") {
            std::string block;
            problem = text(block);
            if (problem.empty()) o.astrologer = split(block, '|');
        } else if (a == "--drive-c") {
            o.drive_c = v;
        } else if (a == "--timeline") {
            const std::vector<std::string> days = split(v, ',');
            const std::optional<CivilTime> from = days.size() == 2 ? parse_date(days[0]) : std::nullopt;
            const std::optional<CivilTime> to = days.size() == 2 ? parse_date(days[1]) : std::nullopt;
            if (!from || !to) return "\"" + valid_utf8(v) + "\" ist kein Zeitraum VON,BIS (TT.MM.JJJJ,TT.MM.JJJJ)";
            o.timeline = ReportRange{julian_day(*from), julian_day(*to) + 1};
            if (o.timeline->to - 1 < o.timeline->from)
                return "der Zeitraum von --timeline ist leer: " + valid_utf8(days[1]) + " liegt vor " + valid_utf8(days[0]);
        } else if (a == "--time-window") {
            if (!(o.time_window = parse_time_window(v)))
                return "\"" + valid_utf8(v) + "\" ist kein Zeitfenster (N1 oder N1,N2, 0 bis 720 Minuten)";
        }
        if (!problem.empty()) return problem;
    }
    if (o.persons.size() != 2) return "zwei Horoskop-Dateien P1 und P2 sind n\u00F6tig";
    if (!o.orb_double || !o.orb_simple) return "--double und --simple sind n\u00F6tig";
    if (!o.pdf && !o.odt && !o.html) return "mindestens eine Ausgabe --pdf, --odt oder --html ist n\u00F6tig";
    // The graphic ephemeris shows the range of the chapter of hits in time: it has none without it.
    if (o.ephemeris && !o.timeline) return "--ephemeris nur mit --timeline VON,BIS";
    const bool halfsum = std::find(o.comparisons.begin(), o.comparisons.end(), Comparison::halfsums) !=
                         o.comparisons.end();
    if (halfsum && !(o.orb_halfsum && *o.orb_halfsum > 0))
        return "die MC-AS-Halbsummen brauchen --halfsum ORBIS (gr\u00F6\u00DFer 0)";
    return {};
}

/// Why `path` cannot take the report (UTF-8), or empty when it can: the writer's own check, so
/// that what it refuses (a write-protected file) is refused before anything is computed, and what
/// it writes in place (/dev/stdout, a pipe) passes.
std::string output_problem(const std::string& path)
{
    if (path.empty()) return "leerer Dateiname";
    const WriteResult can = check_writable(path);
    switch (can.error) {
    case 0: return {};
    case EISDIR: return "ist ein Ordner";
    case ENOENT:
    case ENOTDIR: return "den Ordner gibt es nicht";
    default: return terminal_text(can.message());
    }
}

struct Output {
    std::string path;
    QByteArray bytes;
};

}  // namespace

int cmd_report(const Args& args)
{
    ReportOptions o;
    if (const std::string problem = parse_report_options(args, o); !problem.empty()) return refuse(problem);

    // Every output is checked before anything is computed or written.
    std::vector<std::string> paths;
    for (const auto* p : {&o.pdf, &o.odt, &o.html})
        if (*p) paths.push_back(**p);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (std::size_t k = 0; k < i; ++k)
            if (same_file(paths[i], paths[k]))
                return refuse(valid_utf8(paths[i]) + ": dieselbe Datei f\u00FCr zwei Formate");
        if (const std::string problem = output_problem(paths[i]); !problem.empty()) {
            std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(paths[i]).c_str(), problem.c_str());
            return 1;
        }
    }

    const DriveC drive = DriveC::locate(o.drive_c);
    ChartState chart;
    if (!load_persons(o.persons[0], o.persons[1], drive, o.source, chart, true)) return 1;
    Ktexte ktexte;  // without the single meanings the report shows picture texts only
    load_ktexte(drive, ktexte);

    ReportRequest request;
    request.comparisons = o.comparisons;
    request.orbs = {*o.orb_double, *o.orb_simple, o.orb_halfsum.value_or(0)};
    request.source = o.source;
    request.time_window = o.time_window;
    // The probe computes the shifted charts as the loaded ones were computed, the precise
    // theories on one thread.
    request.probe.source = o.source;
    request.title = o.title;
    request.astrologer = o.astrologer;
    request.version = DUOSKOP_VERSION;
    request.timeline = o.timeline;
    request.ephemeris = o.ephemeris;
    const ReportModel model = build_report(chart, request, ktexte, drive);

    // Fonts need a Gui application; the offscreen platform needs no display.
    const OffscreenGui gui;

    std::vector<Output> outputs;
    if (o.pdf) outputs.push_back({*o.pdf, report_pdf(model)});
    if (o.odt) outputs.push_back({*o.odt, report_odt(model)});
    if (o.html) outputs.push_back({*o.html, report_html(model)});
    for (const Output& out : outputs) {
        if (out.bytes.isEmpty()) {
            std::fprintf(stderr, "duoskop-cli: %s: der Bericht konnte nicht erzeugt werden\n",
                         valid_utf8(out.path).c_str());
            return 1;
        }
    }
    // All or nothing: a file that fails takes back the new files written before it.
    std::vector<std::string> created;
    for (const Output& out : outputs) {
        std::error_code ec;
        const bool existed = std::filesystem::exists(out.path, ec);
        const WriteResult w = write_file_whole(
            out.path, std::string_view(out.bytes.constData(), static_cast<std::size_t>(out.bytes.size())));
        if (!w.ok()) {
            for (const std::string& path : created) std::filesystem::remove(path, ec);
            std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(out.path).c_str(),
                         terminal_text(w.message()).c_str());
            return 1;
        }
        if (!existed) created.push_back(out.path);
    }
    return 0;
}

}  // namespace duoskop::cli
