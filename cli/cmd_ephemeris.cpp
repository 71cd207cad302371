// SPDX-License-Identifier: GPL-3.0-or-later
// ephemeris: the graphic ephemeris of a pair as PNG, SVG and PDF, drawn without a window or
// display. Runs in duoskop-cli-draw (main.cpp); its command list line, call and help are in
// ephemeris_texts.cpp, which duoskop-cli shows without Qt.
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "cli/draw_common.h"
#include "cli/options.h"
#include "cli/timeline_options.h"
#include "desktop/dial_painter.h"
#include "desktop/ephemeris_painter.h"
#include "ephemeris/ephemeris.h"
#include "precise/precise_positions.h"

namespace duoskop::cli {

namespace {

constexpr int default_width = 1600;
constexpr int min_width = 400;
constexpr int max_width = 10000;

/// Julian day (UT) of the Unix epoch.
constexpr double unix_epoch_jd = 2440587.5;

struct EphemerisOptions {
    std::vector<std::string> persons;
    std::optional<CivilTime> from, to;
    std::string from_text, to_text;
    double modulus = ephemeris_moduli[0];
    TimelineRequest request = ephemeris_request(0, 0);
    std::optional<std::string> png, svg, pdf, drive_c;
    int width = default_width;
};

int refuse(const std::string& reason)
{
    std::fprintf(stderr, "duoskop-cli ephemeris: %s\n", reason.c_str());
    return usage("ephemeris");
}

std::string quoted(const std::string& text) { return "\"" + valid_utf8(text) + "\""; }

/// Reads the arguments; the reason (UTF-8) when they are wrong, else empty.
std::string parse_ephemeris_options(const Args& args, EphemerisOptions& o)
{
    const ReadOptions read = read_options(args, ephemeris_rules);
    if (!read.ok()) return read.problem;
    o.persons = read.positionals;
    o.png = read.value("--png");
    o.svg = read.value("--svg");
    o.pdf = read.value("--pdf");
    o.drive_c = read.value("--drive-c");
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
        } else if (a == "--modulus") {
            const std::optional<double> modulus = parse_ephemeris_modulus(v);
            if (!modulus) return quoted(v) + " ist keine Scheibe der Ephemeride f\u00FCr --modulus (22,5, 45 oder 90)";
            o.modulus = *modulus;
        } else if (a == "--size") {
            const auto width = parse_whole(v, min_width, max_width);
            if (!width) return quoted(v) + " ist keine Breite f\u00FCr --size (400 bis 10000)";
            o.width = static_cast<int>(*width);
        } else if (is_timeline_option(a)) {
            if (std::string problem = read_timeline_option(a, v, o.request); !problem.empty()) return problem;
        }
    }
    const TimelineRequest& r = o.request;
    if (o.persons.size() != 2) return "zwei Horoskop-Dateien P1 und P2 sind n\u00F6tig";
    if (!o.png && !o.svg && !o.pdf) return "mindestens eine Ausgabe --png, --svg oder --pdf ist n\u00F6tig";
    if (!r.arc1 && !r.arc2 && !r.transits) return "mindestens ein Ausl\u00F6ser (sb1, sb2, t) ist n\u00F6tig";
    if (r.transits && r.transit_bodies.empty()) return "--transits nennt keinen K\u00F6rper";
    return {};
}

/// The range as instants (missing ends from the default: the first of this month for a year), or
/// the German reason (UTF-8) why it is refused.
std::string range_problem(EphemerisOptions& o)
{
    const EphemerisRange fallback =
        default_ephemeris_range(unix_epoch_jd + static_cast<double>(std::time(nullptr)) / 86400.0);
    TimelineRequest& r = o.request;
    r.from = o.from ? julian_day(*o.from) : fallback.from;
    r.to = o.to ? julian_day(*o.to) + 1 : (o.from ? r.from + (fallback.to - fallback.from) : fallback.to);
    if (r.to - 1 < r.from)
        return "der Zeitraum ist leer: " + (o.to_text.empty() ? std::string("--to") : o.to_text) + " liegt vor " +
               (o.from_text.empty() ? std::string("--from") : o.from_text);
    return precise_range_problem(r);
}

}  // namespace

int cmd_ephemeris(const Args& args)
{
    EphemerisOptions o;
    if (const std::string problem = parse_ephemeris_options(args, o); !problem.empty()) return refuse(problem);
    if (const std::string problem = range_problem(o); !problem.empty()) return refuse(problem);

    const DriveC drive = DriveC::locate(o.drive_c);
    ChartState chart;
    if (!load_persons(o.persons[0], o.persons[1], drive, o.request.natal_source, chart, true)) return 1;
    const Ephemeris ephemeris = compute_ephemeris(chart, o.request, o.modulus);

    // Fonts need a Gui application; the offscreen platform needs no display.
    const OffscreenGui gui;

    const QString title = QString::fromStdString(
        cp1252_to_utf8(ephemeris_title(chart, o.request.from, o.request.to, o.modulus)));
    const int height = o.width * 3 / 5;
    bool ok = true;
    if (o.png) ok = write_picture(*o.png, ephemeris_png(ephemeris, title, o.width, height)) && ok;
    if (o.svg) ok = write_picture(*o.svg, ephemeris_svg(ephemeris, title, o.width, height)) && ok;
    if (o.pdf) ok = write_picture(*o.pdf, ephemeris_pdf(ephemeris, title)) && ok;
    return ok ? 0 : 1;
}

}  // namespace duoskop::cli
