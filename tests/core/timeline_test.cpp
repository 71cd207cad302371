// SPDX-License-Identifier: GPL-3.0-or-later
// The hits in time against an independent scan: daily positions from positions_at, hourly ones
// around stations, hits found by sign changes and refined by bisection on positions_at itself.
// Then the solar arc against a computation by hand, the station rules on made-up tracks, the
// clusters, unknown birth times and the points of the comparisons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/calendar.h"
#include "dialview/dial_view.h"
#include "precise/precise_positions.h"
#include "timeline/sweep.h"
#include "timeline/timeline.h"
#include "timeline/timeline_export.h"

namespace duoskop {
namespace {

constexpr double minute = 1.0 / 1440;
constexpr double arcsec = 1.0 / 3600;

std::string two(int v)
{
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

/// A chart record with the given birth data; longitude and latitude in whole degrees.
chart_record record(const std::string& name, int day, int month, int year, int h, int m, int s, int lon, int lat)
{
    char lon_text[24], lat_text[24];
    std::snprintf(lon_text, sizeof lon_text, "%c%03d 00 00", lon < 0 ? '-' : '+', std::abs(lon));
    std::snprintf(lat_text, sizeof lat_text, "%c%02d 00 00", lat < 0 ? '-' : '+', std::abs(lat));
    return {name, "Test", two(day) + "." + two(month) + "." + std::to_string(year),
            two(h) + ":" + two(m) + ":" + two(s), "", lon_text, lat_text};
}

/// The pair as a load leaves it: records, positions from `source`, search axes.
ChartState pair_of(const chart_record& a, const chart_record& b, PositionSource source = PositionSource::theory)
{
    ChartState chart;
    chart.person1 = a;
    chart.person2 = b;
    chart.pos1 = chart_positions(werte_aktual(a), source);
    chart.pos2 = chart_positions(werte_aktual(b), source);
    form_search_axes(chart.pos1, chart.pos2, chart.axes);
    return chart;
}

double jd(int year, int month, int day) { return chart_julian_day0(year, month, day); }

// ---- The independent scan ------------------------------------------------------------------------

struct RefHit {
    double instant = 0;
    Mover mover;
    std::size_t target = 0;
    int angle = 0;
    char direction = 'd';
};

/// The longitude of a mover at an instant, each time from positions_at.
class Exact {
public:
    Exact(const ChartState& chart, PositionSource transits, PositionSource natal) : chart_(chart), transits_(transits), natal_(natal)
    {
        for (int p = 0; p < 2; ++p) {
            births_[p] = werte_aktual(p == 0 ? chart.person1 : chart.person2);
            born_[p] = chart_instant(births_[p]).julian_day();
            natal_sun_[p] = positions_at(chart_instant(births_[p]), chart_place(births_[p]), natal)[2];
        }
    }
    double born(int person) const { return born_[person - 1]; }
    double operator()(const Mover& m, double t) const
    {
        if (m.kind == Mover::Kind::transit) {
            // The movers share their daily and hourly samples.
            auto found = transit_cache_.find(t);
            if (found == transit_cache_.end())
                found = transit_cache_.emplace(t, positions_at(instant_at(t), GeoPlace{}, transits_)).first;
            return found->second[m.body];
        }
        const int p = m.person() - 1;
        const double age = (t - born_[p]) / arc_year_days;
        const double sun = positions_at(instant_at(born_[p] + age), chart_place(births_[p]), natal_)[2];
        const double arc = sun - natal_sun_[p] + 360.0 * std::round((age * naibod_rate - (sun - natal_sun_[p])) / 360.0);
        return (p == 0 ? chart_.pos1 : chart_.pos2)[m.body] + arc;
    }

private:
    const ChartState& chart_;
    PositionSource transits_, natal_;
    BirthData births_[2];
    double born_[2]{};
    double natal_sun_[2]{};
    mutable std::unordered_map<double, Positions> transit_cache_;
};

/// Mover - target on the dial, in (-11.25, 11.25].
double dial_gap(double mover, double target) { return -std::remainder(target - mover, 22.5); }

/// Scans one mover over all targets between lo and hi.
std::vector<RefHit> scan(const Exact& exact, const Mover& mover, const std::vector<Target>& targets, double lo, double hi)
{
    const auto f = [&](double t) { return exact(mover, t); };
    const auto speed = [&](double t) { return std::remainder(f(t + 0.01) - f(t - 0.01), 360.0); };
    // Daily samples, and the stations between them.
    std::vector<double> days;
    for (double t = std::floor(lo) - 1; t <= hi + 2; t += 1) days.push_back(t);
    std::vector<double> daily(days.size());
    for (std::size_t k = 0; k < days.size(); ++k) daily[k] = f(days[k]);
    std::vector<double> stations;
    for (std::size_t k = 1; k + 1 < days.size(); ++k) {
        const double before = std::remainder(daily[k] - daily[k - 1], 360.0);
        const double after = std::remainder(daily[k + 1] - daily[k], 360.0);
        if ((before > 0) == (after > 0)) continue;
        // The station, by bisection on the sign of the speed within the two days.
        double a = days[k - 1], b = days[k + 1];
        const bool rising = speed(a) > 0;
        while (b - a > 10.0 / 86400) {
            const double m = 0.5 * (a + b);
            ((speed(m) > 0) == rising ? a : b) = m;
        }
        stations.push_back(0.5 * (a + b));
    }
    // The pieces on which the mover goes one way: from day to day, hourly within a day of a station
    // and split at the station itself.
    std::vector<double> cuts;
    for (std::size_t k = 0; k + 1 < days.size(); ++k) {
        const double t0 = days[k];
        const bool near = std::any_of(stations.begin(), stations.end(), [&](double s) { return s > t0 - 1 && s < t0 + 2; });
        if (!near) {
            cuts.push_back(t0);
            continue;
        }
        for (int h = 0; h < 24; ++h) cuts.push_back(t0 + h / 24.0);
    }
    cuts.push_back(days.back());
    for (const double s : stations) cuts.push_back(s);
    std::sort(cuts.begin(), cuts.end());
    std::vector<double> values(cuts.size());
    for (std::size_t k = 0; k < cuts.size(); ++k) values[k] = f(cuts[k]);

    std::vector<RefHit> passes;
    for (std::size_t j = 0; j < targets.size(); ++j) {
        const double target = targets[j].longitude;
        const bool midpoint = !targets[j].point.is_factor();
        const auto winkel = [&](double t) {
            const long k = std::lround(std::remainder(f(t) - target, 360.0) / 22.5);
            int step = static_cast<int>(((k % 16) + 16) % 16);
            if (midpoint) step %= 8;
            return midpoint ? std::min(step, 8 - step) : std::min(step, 16 - step);
        };
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double ga = dial_gap(values[k], target), gb = dial_gap(values[k + 1], target);
            if (!((ga < 0 && gb >= 0) || (ga > 0 && gb <= 0)) || std::fabs(ga - gb) > 11.25) continue;
            double a = cuts[k], b = cuts[k + 1];
            while (b - a > 1.0 / 86400) {
                const double m = 0.5 * (a + b);
                const double gm = dial_gap(f(m), target);
                ((gm < 0) == (ga < 0) ? a : b) = m;
            }
            const double t = 0.5 * (a + b);
            passes.push_back({t, mover, j, winkel(t), speed(t) > 0 ? 'd' : 'r'});
        }
        // A station within 1" of the target on the side it does not reach.
        for (const double s : stations) {
            const double g = dial_gap(f(s), target);
            const bool maximum = std::remainder(f(s) - f(s - 0.05), 360.0) > 0;
            if ((maximum && g < 0 && g >= -arcsec) || (!maximum && g > 0 && g <= arcsec))
                passes.push_back({s, mover, j, winkel(s), 's'});
        }
    }
    // Passes less than 30 minutes apart are one "s" at the station between them.
    std::sort(passes.begin(), passes.end(), [](const RefHit& a, const RefHit& b) {
        return a.target != b.target ? a.target < b.target : a.instant < b.instant;
    });
    std::vector<RefHit> hits;
    for (std::size_t i = 0; i < passes.size();) {
        std::size_t j = i + 1;
        while (j < passes.size() && passes[j].target == passes[i].target &&
               passes[j].instant - passes[j - 1].instant < 30 * minute)
            ++j;
        RefHit h = passes[i];
        if (j - i > 1) {
            h.direction = 's';
            h.instant = 0.5 * (passes[i].instant + passes[j - 1].instant);
            for (const double s : stations)
                if (s >= passes[i].instant && s <= passes[j - 1].instant) h.instant = s;
        }
        if (h.instant >= lo && h.instant <= hi) hits.push_back(h);
        i = j;
    }
    return hits;
}

/// Every reference hit has its hit in the timeline and the other way round: same mover, target,
/// Winkel and direction, the instant within 3 minutes (or, where the mover hardly moves, at an
/// instant at which the mover stands on the target within 0.02").
void expect_agreement(const Timeline& timeline, const Exact& exact, double lo, double hi, std::size_t at_least)
{
    std::vector<RefHit> reference;
    for (const Mover& m : timeline.movers) {
        double from = lo;
        if (m.person() != 0) from = std::max(lo, exact.born(m.person()));
        if (from > hi) continue;
        for (RefHit& h : scan(exact, m, timeline.targets, from, hi)) reference.push_back(h);
    }
    std::vector<bool> used(timeline.hits.size(), false);
    std::size_t matched = 0;
    for (const RefHit& r : reference) {
        bool found = false;
        for (std::size_t i = 0; i < timeline.hits.size() && !found; ++i) {
            const Hit& h = timeline.hits[i];
            if (used[i] || !(timeline.movers[h.mover] == r.mover) || h.target != r.target) continue;
            if (static_cast<char>(h.direction) != r.direction || h.angle != r.angle) continue;
            const double gap = std::fabs(dial_gap(exact(r.mover, h.instant), timeline.targets[h.target].longitude));
            if (std::fabs(h.instant - r.instant) <= 3 * minute || (gap <= 0.02 * arcsec && std::fabs(h.instant - r.instant) < 2)) {
                used[i] = found = true;
                ++matched;
            }
        }
        // A hit right at the ends of the range may fall on either side of them.
        const bool at_edge = r.instant - lo < 5 * minute || hi - r.instant < 5 * minute;
        EXPECT_TRUE(found || at_edge) << mover_name(r.mover) << " " << point_name(timeline.targets[r.target].point)
                                      << " " << r.direction << " at JD " << std::fixed << r.instant;
    }
    for (std::size_t i = 0; i < timeline.hits.size(); ++i) {
        const Hit& h = timeline.hits[i];
        const bool at_edge = h.instant - lo < 5 * minute || hi - h.instant < 5 * minute;
        EXPECT_TRUE(used[i] || at_edge) << "extra hit " << mover_name(timeline.movers[h.mover]) << " "
                                        << point_name(timeline.targets[h.target].point) << " "
                                        << static_cast<char>(h.direction) << " at JD " << std::fixed << h.instant;
    }
    EXPECT_GE(matched, at_least);
}

// The transits of the theory and both solar arcs over random pairs and ranges.
TEST(TimelineReference, AgreesWithAnIndependentScanOfTheTheory)
{
    std::mt19937 random(20240229);
    std::uniform_int_distribution<int> year(1900, 2000), month(1, 12), day(1, 28), hour(0, 23), sixty(0, 59);
    std::uniform_int_distribution<int> lon(-170, 170), lat(-60, 60), start(1930, 2060), span(120, 300);
    for (int run = 0; run < 3; ++run) {
        const chart_record a = record("Eins", day(random), month(random), year(random), hour(random), sixty(random), 0,
                                      lon(random), lat(random));
        const chart_record b = record("Zwei", day(random), month(random), year(random), hour(random), sixty(random), 0,
                                      lon(random), lat(random));
        const ChartState chart = pair_of(a, b);
        TimelineRequest request;
        request.from = jd(start(random), month(random), day(random));
        request.to = request.from + span(random);
        request.transit_source = PositionSource::theory;
        // Every body the daily samples can follow (the Moon moves too far in a day for them).
        request.transit_bodies = {2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
        request.targets = {false, {true, false, false}, {}};
        for (const char* name : {"MC1/MC2", "SO1/MO2", "VE1/MA2", "WI/JU2", "SA2/PL2", "AS1/NE1"})
            request.targets.named.push_back(*parse_point_name(name));
        SCOPED_TRACE("run " + std::to_string(run) + ": " + a.date + " " + a.time + " / " + b.date + " " + b.time);
        const Timeline timeline = compute_timeline(chart, request);
        ASSERT_FALSE(timeline.hits.empty());
        EXPECT_TRUE(std::is_sorted(timeline.hits.begin(), timeline.hits.end(),
                                   [](const Hit& x, const Hit& y) { return x.instant < y.instant; }));
        expect_agreement(timeline, Exact(chart, PositionSource::theory, PositionSource::theory), request.from, request.to, 500);
    }
}

// With the precise transits (and a precise natal chart): the slow planets, Mercury for its stations.
TEST(TimelineReference, AgreesWithAnIndependentScanOfThePrecisePositions)
{
    const ChartState chart = pair_of(record("Eins", 12, 3, 1961, 4, 20, 0, 11, 48),
                                     record("Zwei", 30, 9, 1958, 17, 5, 0, 13, 52), PositionSource::precise);
    TimelineRequest request;
    request.from = jd(2023, 4, 1);
    request.to = request.from + 91;  // Mercury turns in April and May, Saturn in June
    request.arc1 = request.arc2 = false;
    request.natal_source = PositionSource::precise;
    request.transit_bodies = {6, 9, 10};
    request.targets = {false, {}, {}};
    for (const char* name : {"MC1", "SO1", "MO2", "VE1/MA2", "SO1/SO2", "ME2", "JU1/SA2"})
        request.targets.named.push_back(*parse_point_name(name));
    const Timeline timeline = compute_timeline(chart, request);
    expect_agreement(timeline, Exact(chart, PositionSource::precise, PositionSource::precise), request.from, request.to, 20);
}

}  // namespace
}  // namespace duoskop
