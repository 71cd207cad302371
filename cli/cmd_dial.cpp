// SPDX-License-Identifier: GPL-3.0-or-later
// dial: the dial of one or two persons (22.5 degrees or another size) as a PNG or SVG picture,
// drawn without a window or display; with --date the third ring of the solar arcs and transits at
// that instant. Runs in duoskop-cli-draw (main.cpp), the only command-line
// program with Qt; its command list line, call and help are in dial_texts.cpp, which duoskop-cli
// shows without Qt.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/texts.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "cli/draw_common.h"
#include "cli/options.h"
#include "cli/timeline_options.h"
#include "desktop/dial_painter.h"
#include "dialview/midpoints.h"
#include "precise/precise_positions.h"
#include "timeline/ring.h"

namespace duoskop::cli {

namespace {

constexpr int default_size = 800;
constexpr int min_size = 100;
constexpr int max_size = 10000;

std::optional<int> parse_size(const std::string& text)
{
    const auto value = parse_whole(text, min_size, max_size);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

struct DialOptions {
    std::vector<std::string> persons;
    std::optional<std::string> png;
    std::optional<std::string> svg;
    int size = default_size;
    std::optional<double> pointer;
    std::vector<std::uint8_t> highlight;
    std::optional<std::string> drive_c;
    double modulus = dial_span;
    std::optional<CivilTime> date;        ///< the instant of the third ring, universal time
    std::optional<std::string> time;      ///< its clock time as given ("hh:mm")
    TimelineRequest movers = ring_request();
    bool movers_chosen = false;           ///< a timeline option was given
};

std::string in_quotes(const std::string& text) { return "\"" + valid_utf8(text) + "\""; }

/// Reads the options of the third ring; the reason (UTF-8) when one is wrong, else empty.
std::string parse_ring_options(const ReadOptions& o, DialOptions& options)
{
    // Each value is checked in the order given, so that the first wrong one is named.
    for (const ReadOptions::Given& g : o.given) {
        if (g.values.empty()) continue;
        const std::string a(g.name);
        const std::string& v = g.values.front();
        if (a == "--date") {
            if (!(options.date = parse_date(v))) return in_quotes(v) + " ist kein Datum TT.MM.JJJJ f\u00FCr --date";
        } else if (a == "--time") {
            options.time = v;
        } else if (is_timeline_option(a)) {
            if (std::string problem = read_timeline_option(a, v, options.movers); !problem.empty()) return problem;
            options.movers_chosen = true;
        }
    }
    if (options.time && !options.date) return "--time nur mit --date";
    if (options.movers_chosen && !options.date)
        return "--movers, --transits, --arc und --transits-from nur mit --date";
    if (!options.date) return {};
    if (options.time) {
        const std::optional<CivilTime> at = parse_clock(*options.time, *options.date);
        if (!at) return in_quotes(*options.time) + " ist keine Zeit hh:mm f\u00FCr --time";
        options.date = at;
    } else {
        options.date->hour = 12;  // noon unless a time is given
    }
    const TimelineRequest& r = options.movers;
    if (!r.arc1 && !r.arc2 && !r.transits) return "mindestens ein Ausl\u00F6ser (sb1, sb2, t) ist n\u00F6tig";
    if (r.transits && r.transit_bodies.empty()) return "--transits nennt keinen K\u00F6rper";
    // The precise positions hold for the years 1000 to 3000.
    if (r.transits && r.transit_source == PositionSource::precise &&
        (options.date->year < precise_first_year || options.date->year > precise_last_year))
        return "mit genauen Transiten muss das Jahr zwischen " + std::to_string(precise_first_year) + " und " +
               std::to_string(precise_last_year) + " liegen (sonst --transits-from theorie)";
    return {};
}

/// Reads the arguments; false for a wrong call (a reason, if any, already on stderr).
bool parse_dial_options(const Args& args, DialOptions& options)
{
    const ReadOptions o = read_options(args, dial_rules);
    if (!o.ok()) return false;
    if (const std::string problem = parse_ring_options(o, options); !problem.empty()) {
        std::fprintf(stderr, "duoskop-cli dial: %s\n", problem.c_str());
        return false;
    }
    options.persons = o.positionals;
    options.png = o.value("--png");
    options.svg = o.value("--svg");
    options.drive_c = o.value("--drive-c");
    for (const std::string& v : o.each("--size")) {
        const auto size = parse_size(v);
        if (!size) return false;
        options.size = *size;
    }
    for (const std::string& v : o.each("--pointer"))
        if (!(options.pointer = parse_degrees(v))) return false;
    for (const std::string& v : o.each("--modulus")) {
        const auto modulus = parse_modulus(v);
        if (!modulus) return false;
        options.modulus = *modulus;
    }
    for (const std::string& v : o.each("--highlight")) {
        const auto codes = parse_code_list(v);
        if (!codes) return false;
        options.highlight = *codes;
    }
    return !options.persons.empty() && options.persons.size() <= 2 && (options.png || options.svg);
}

QString legend(std::string_view side, const chart_record& person)
{
    return QString::fromStdString(cp1252_to_utf8(std::string(side) + person.first_name + " " + person.name));
}

}  // namespace

int cmd_dial(const Args& args)
{
    DialOptions options;
    if (!parse_dial_options(args, options)) return usage("dial");

    // A relative chart name not found from the working folder is looked up in drive C, as chart does.
    const DriveC drive = DriveC::locate(options.drive_c);
    ChartState chart;
    for (std::size_t person = 1; person <= options.persons.size(); ++person) {
        const std::string& given = options.persons[person - 1];
        const LoadResult loaded = holen(chart_file_path(given, drive), static_cast<int>(person), chart);
        if (loaded.outcome != LoadOutcome::loaded) {
            std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(given).c_str(), terminal_text(loaded.message).c_str());
            return 1;
        }
    }

    // Fonts need a Gui application; the offscreen platform needs no display.
    const OffscreenGui gui;

    DialScene scene;
    scene.modulus = options.modulus;
    scene.pos1 = chart.pos1;
    scene.legend1 = legend(texts::kDialInner, chart.person1);
    if (options.persons.size() == 2) {
        scene.pos2 = chart.pos2;
        scene.legend2 = legend(texts::kDialOuter, chart.person2);
    }
    const auto& h = options.highlight;
    for (const std::uint8_t body : h) scene.highlighted[body] = true;
    if (h.size() == 4) {
        const std::string entry = std::string(body_codes[h[0]]) + "/" + std::string(body_codes[h[1]]) + "=" +
                                  std::string(body_codes[h[2]]) + "/" + std::string(body_codes[h[3]]);
        if (const auto picture = entry_picture(entry, {}, chart.pos1, chart.pos2)) {
            show_entry_picture(scene, *picture);
        }
    }
    // The pointer is a dial position of the dial drawn; a longitude given stands where it falls.
    if (options.pointer) scene.pointer = normalize_dial(*options.pointer, scene.modulus);
    if (options.date) {
        // Only a person given moves: without P2 no solar arc of person 2.
        TimelineRequest movers = options.movers;
        movers.arc2 = movers.arc2 && options.persons.size() == 2;
        const double instant = julian_day(*options.date);
        scene.movers = ring_points(chart, movers, instant);
        scene.legend_movers = QString::fromStdString(cp1252_to_utf8(ring_legend(instant)));
    }

    bool ok = true;
    if (options.png) ok = write_picture(*options.png, dial_png(scene, options.size)) && ok;
    if (options.svg) {
        const QString title = QStringLiteral("Duoskop ") + QString::fromStdString(cp1252_to_utf8(
                                                                std::string(texts::kDialCaption)));
        ok = write_picture(*options.svg, dial_svg(scene, options.size, title)) && ok;
    }
    return ok ? 0 : 1;
}

}  // namespace duoskop::cli
