// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/timeline_options.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

#include "birth/local_time.h"
#include "base/cp1252.h"
#include "cli/options.h"
#include "dialview/dial_view.h"
#include "dialview/pair_points.h"
#include "precise/precise_positions.h"

namespace duoskop::cli {

namespace {

constexpr std::string_view timeline_option_names[] = {"--movers", "--transits", "--targets", "--arc", "--transits-from"};

std::string quoted(const std::string& text) { return "\"" + valid_utf8(text) + "\""; }

}  // namespace

bool is_timeline_option(std::string_view name)
{
    return std::find(std::begin(timeline_option_names), std::end(timeline_option_names), name) !=
           std::end(timeline_option_names);
}

std::string read_timeline_option(std::string_view name, const std::string& value, TimelineRequest& request)
{
    const std::string& v = value;
    if (name == "--movers") {
        request.arc1 = request.arc2 = request.transits = false;
        for (const std::string& item : split(v, ',')) {
            if (item == "sb1") request.arc1 = true;
            else if (item == "sb2") request.arc2 = true;
            else if (item == "t") request.transits = true;
            else return "unbekannter Ausl\u00F6ser " + quoted(item) + " (m\u00F6glich: sb1, sb2, t)";
        }
    } else if (name == "--transits") {
        request.transit_bodies.clear();
        for (const std::string& code : split(v, ',')) {
            const std::optional<std::uint8_t> body = body_of_code(code);
            if (!body || !transit_body_allowed(*body))
                return quoted(code) + " kann nicht laufen (m\u00F6glich: SO, MO, KN, ME bis PL, CU bis PO)";
            request.transit_bodies.push_back(*body);
        }
    } else if (name == "--targets") {
        request.targets = TargetChoice{};
        for (const std::string& item : split(v, ',')) {
            if (item == "ergebnis") request.targets.ergebnis = true;
            else if (item == "faktoren") request.targets.sets.factors = true;
            else if (item == "kreuz") request.targets.sets.cross = true;
            else if (item == "eigene") request.targets.sets.own = true;
            else if (item == "alle") request.targets.sets = {true, true, true};
            else if (const std::optional<PairPoint> point = parse_point_name(item)) request.targets.named.push_back(*point);
            else
                return "unbekanntes Ziel " + quoted(item) +
                       " (m\u00F6glich: ergebnis, faktoren, kreuz, eigene, alle oder Namen wie MC1/VE2)";
        }
    } else if (name == "--arc") {
        if (v == "true") request.arc = ArcKind::true_arc;
        else if (v == "naibod") request.arc = ArcKind::naibod;
        else return quoted(v) + " ist kein Bogen (m\u00F6glich: true, naibod)";
    } else if (name == "--transits-from") {
        if (v == "genau") request.transit_source = PositionSource::precise;
        else if (v == "theorie") request.transit_source = PositionSource::theory;
        else return quoted(v) + " ist keine Quelle der Transite (m\u00F6glich: genau, theorie)";
    }
    return {};
}

std::string precise_range_problem(const TimelineRequest& request)
{
    // The last instant of the range is 24:00 of its last day, which belongs to that day's year.
    const auto year = [](double jd) { return from_julian_day(jd).value_or(CivilTime{}).year; };
    if (request.transits && request.transit_source == PositionSource::precise &&
        (year(request.from) < precise_first_year || year(request.to - 1) > precise_last_year))
        return "mit genauen Transiten m\u00FCssen die Jahre zwischen " + std::to_string(precise_first_year) + " und " +
               std::to_string(precise_last_year) + " liegen (sonst --transits-from theorie)";
    return {};
}

}  // namespace duoskop::cli
