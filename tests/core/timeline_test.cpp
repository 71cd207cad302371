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
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/chart_file.h"
#include "analysis/comparisons.h"
#include "app/dial.h"
#include "astro/calendar.h"
#include "dialview/dial_view.h"
#include "precise/precise_positions.h"
#include "timeline/paths.h"
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

// ---- The solar arc by hand ------------------------------------------------------------------------

ChartState sample_pair(const char* a, const char* b, PositionSource source = PositionSource::theory)
{
    const std::string folder = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    ChartState chart;
    EXPECT_EQ(holen(folder + a, 1, chart, source).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(folder + b, 2, chart, source).outcome, LoadOutcome::loaded);
    return chart;
}

// Naibod: a = (T + 22.5 k - L) / 0.98564733 years, D = birth + a x 365.2422 days, in closed form.
TEST(TimelineSolarArc, NaibodHitsStandWhereTheArcClosesTheGap)
{
    const ChartState chart = sample_pair("ALBRECHT.dat", "HOLLMANN.dat");
    TimelineRequest request;
    request.from = jd(1958, 1, 1);
    request.to = jd(2040, 1, 1);
    request.arc2 = request.transits = false;
    request.arc = ArcKind::naibod;
    request.targets = {false, {}, {*parse_point_name("SO1"), *parse_point_name("MC1/MC2")}};
    const Timeline t = compute_timeline(chart, request);
    const double born = chart_instant(werte_aktual(chart.person1)).julian_day();
    ASSERT_GT(t.hits.size(), 100u);  // some 80 degrees of arc: 3.6 turns of the dial for each of 22 movers
    for (const Hit& h : t.hits) {
        const Mover& m = t.movers[h.mover];
        const double gap = t.targets[h.target].longitude - chart.pos1[m.body];
        const double arc = (h.instant - born) / arc_year_days * naibod_rate;
        const double k = std::round((arc - gap) / 22.5);
        const double by_hand = born + (gap + 22.5 * k) / naibod_rate * arc_year_days;
        EXPECT_NEAR(h.instant, by_hand, 1.0 / 86400) << mover_name(m) << " " << point_name(t.targets[h.target].point);
        EXPECT_EQ(h.direction, Direction::direct);
        EXPECT_GE(h.instant, born);  // no directions before the birth
    }
}

// The true arc of every sample chart: the day of life at which the Sun has gone 22.5 and 45
// degrees past its natal place, found by bisection on positions_at, times 365.2422.
TEST(TimelineSolarArc, TrueArcOfEverySampleChartMatchesTheSunsProgress)
{
    for (const char* file : {"ALBRECHT.dat", "HOLLMANN.dat", "KRANICH.dat", "SONNBERG.dat", "WEIDNER.dat"}) {
        for (const PositionSource source : {PositionSource::theory, PositionSource::precise}) {
            const ChartState chart = sample_pair(file, "ALBRECHT.dat", source);
            const BirthData birth = werte_aktual(chart.person1);
            const double born = chart_instant(birth).julian_day();
            const double natal = chart.pos1[2];
            const auto sun_after = [&](double days) {
                return positions_at(instant_at(born + days), chart_place(birth), source)[2];
            };
            TimelineRequest request;
            request.from = born;
            request.to = born + 50 * arc_year_days;
            request.arc2 = request.transits = false;
            request.natal_source = source;
            request.targets = {false, {}, {*parse_point_name("SO1")}};
            const Timeline t = compute_timeline(chart, request);
            for (const double arc : {22.5, 45.0}) {
                double lo = 0, hi = 60;
                while (hi - lo > 1e-9) {
                    const double mid = 0.5 * (lo + hi);
                    (std::remainder(sun_after(mid) - natal - arc, 360.0) < 0 ? lo : hi) = mid;
                }
                const double by_hand = born + 0.5 * (lo + hi) * arc_year_days;
                const auto hit = std::find_if(t.hits.begin(), t.hits.end(), [&](const Hit& h) {
                    return mover_name(t.movers[h.mover]) == "SB1:SO" && h.angle == (arc == 45.0 ? 2 : 1);
                });
                ASSERT_NE(hit, t.hits.end()) << file;
                EXPECT_NEAR(hit->instant, by_hand, minute) << file << " " << arc;
            }
        }
    }
}

// ---- Stations on made-up tracks -------------------------------------------------------------------

/// A mover that turns at day `turn` at 10 degrees (a maximum; with sign -1 at 350, a minimum),
/// sampled daily from day 0 to 100, against targets at the given longitudes.
struct TurningMover {
    Track track;
    std::vector<Target> targets;
    std::vector<Pass> passes;
    std::vector<double> stations;

    TurningMover(std::initializer_list<double> longitudes, double turn, double sign = 1)
    {
        for (int day = 0; day <= 100; ++day) track.u.push_back(sign * (10 - 0.001 * (day - turn) * (day - turn)));
        std::uint8_t body = 2;
        for (const double l : longitudes) {
            targets.push_back({pair_point(pair_factor(body, 1), pair_factor(body, 1)), l, false});
            ++body;
        }
        const std::vector<TrackMover> movers = {{0, sign < 0 ? 360.0 : 0.0}};
        sweep_track(track, movers, DialTargets(targets), 0, 100, passes, stations);
        merge_station_passes(passes, {stations});
    }
    std::vector<Pass> of(std::uint16_t target) const
    {
        std::vector<Pass> own;
        for (const Pass& p : passes)
            if (p.target == target) own.push_back(p);
        return own;
    }
};

TEST(TimelineStations, TouchesMergesAndPassesAtATurningPoint)
{
    const double near = 0.5 * arcsec, inside = 1e-9;
    // The turn falls on a sample, where the slope is 0 exactly.
    const TurningMover m({10 + near, 10 + 2 * arcsec, 10 - inside, 10 - 0.01, 10 + 22.5 + near}, 50);
    ASSERT_EQ(m.stations.size(), 1u);
    EXPECT_NEAR(m.stations[0], 50, 1e-6);
    // Within 1" beyond the turn: one hit s at the station, also a whole 22.5 degrees away.
    for (const std::uint16_t j : {std::uint16_t{0}, std::uint16_t{4}}) {
        const auto p = m.of(j);
        ASSERT_EQ(p.size(), 1u) << j;
        EXPECT_EQ(p[0].direction, Direction::station);
        EXPECT_NEAR(p[0].instant, 50, 1e-6);
    }
    EXPECT_EQ(m.of(4)[0].step, 15);  // the mover 22.5 degrees short of the target
    // 2" beyond: never reached.
    EXPECT_TRUE(m.of(1).empty());
    // Crossed twice a few seconds apart: one hit s at the station.
    ASSERT_EQ(m.of(2).size(), 1u);
    EXPECT_EQ(m.of(2)[0].direction, Direction::station);
    EXPECT_NEAR(m.of(2)[0].instant, 50, 1e-6);
    // Crossed twice days apart: d before the turn, r after it.
    const auto two = m.of(3);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].direction, Direction::direct);
    EXPECT_EQ(two[1].direction, Direction::retrograde);
    EXPECT_NEAR(two[0].instant, 50 - std::sqrt(10.0), 1e-5);
    EXPECT_NEAR(two[1].instant, 50 + std::sqrt(10.0), 1e-5);
}

TEST(TimelineStations, AMinimumTouchesFromBelow)
{
    // Longitude 350 at the turn between two samples, going back and then forward again.
    const TurningMover m({350 - 0.5 * arcsec, 350 + 0.01}, 50.3, -1);
    ASSERT_EQ(m.stations.size(), 1u);
    EXPECT_NEAR(m.stations[0], 50.3, 1e-6);
    ASSERT_EQ(m.of(0).size(), 1u);
    EXPECT_EQ(m.of(0)[0].direction, Direction::station);
    const auto two = m.of(1);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].direction, Direction::retrograde);
    EXPECT_EQ(two[1].direction, Direction::direct);
}

// ---- Winkel, clusters ----------------------------------------------------------------------------

TEST(TimelineHits, WinkelIsTheSmallerAngleAndHalvesForMidpoints)
{
    const char* expected[] = {"0", "22,5", "45", "67,5", "90", "112,5", "135", "157,5", "180"};
    for (std::uint8_t a = 0; a <= 8; ++a) EXPECT_EQ(angle_text_of(a), expected[a]);
    const ChartState chart = sample_pair("ALBRECHT.dat", "HOLLMANN.dat");
    TimelineRequest request;
    request.from = jd(2020, 1, 1);
    request.to = jd(2023, 1, 1);
    request.transit_source = PositionSource::theory;
    request.targets = {false, {true, false, true}, {}};
    const Timeline t = compute_timeline(chart, request);
    std::set<int> factor_angles, midpoint_angles;
    for (const Hit& h : t.hits) {
        const Target& target = t.targets[h.target];
        // The mover stands a whole multiple of 22.5 degrees from the target, and Winkel names it.
        const double apart = std::fabs(std::remainder(
            Exact(chart, PositionSource::theory, PositionSource::theory)(t.movers[h.mover], h.instant) - target.longitude, 360.0));
        const double angle = target.point.is_factor() ? apart : std::min(apart, 180 - apart);
        EXPECT_NEAR(angle, 22.5 * h.angle, 1e-4);
        (target.point.is_factor() ? factor_angles : midpoint_angles).insert(h.angle);
        if (&h - t.hits.data() > 400) break;  // enough to see every angle
    }
    EXPECT_EQ(*factor_angles.rbegin(), 8);
    EXPECT_EQ(*midpoint_angles.rbegin(), 4);
}

TEST(TimelineMovers, TheRingsMoversStandWhereAnIndependentComputationPutsThem)
{
    struct Case {
        const char* person2;
        int year, month, day;
        std::size_t movers;  // SB1 and SB2 of MC, SO, AS, MO (without MC and AS where the time is unknown), T:JU-PL
    };
    const Case cases[] = {{"HOLLMANN.dat", 2024, 6, 15, 4 + 4 + 5}, {"SONNBERG.dat", 1999, 2, 28, 4 + 2 + 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.person2);
        const ChartState chart = sample_pair("ALBRECHT.dat", c.person2);
        TimelineRequest request;
        request.arc_bodies = ring_arc_bodies();
        request.transit_bodies = ring_transit_bodies();
        request.transit_source = PositionSource::theory;
        const Exact exact(chart, PositionSource::theory, PositionSource::theory);
        const double t = jd(c.year, c.month, c.day) + 0.5;
        const MoversAt at = movers_at(chart, request, t);
        ASSERT_EQ(at.movers.size(), c.movers);
        for (std::size_t k = 0; k < at.movers.size(); ++k) {
            SCOPED_TRACE(mover_name(at.movers[k]));
            EXPECT_NEAR(std::remainder(at.longitudes[k] - exact(at.movers[k], t), 360.0), 0.0, 1.0 / 3600);
            EXPECT_GE(at.longitudes[k], 0.0);
            EXPECT_LT(at.longitudes[k], 360.0);
        }
        // Before either birth the solar arcs have no position; the transits still have one.
        const MoversAt before = movers_at(chart, request, std::min(exact.born(1), exact.born(2)) - 10);
        for (std::size_t k = 0; k < before.movers.size(); ++k)
            EXPECT_EQ(std::isfinite(before.longitudes[k]), before.movers[k].kind == Mover::Kind::transit);
    }
}

TEST(TimelineClusters, RunsOfCloseHitsOnTheComparisonsPoints)
{
    const std::vector<Mover> movers = {{Mover::Kind::arc1, 2}, {Mover::Kind::arc2, 2}, {Mover::Kind::transit, 10}};
    const auto point = [](const char* name) { return *parse_point_name(name); };
    const std::vector<Target> targets = {{point("MC1/MC2"), 0, true}, {point("SO1"), 0, true},
                                         {point("MO2"), 0, true},     {point("VE2"), 0, false}};
    const auto hit = [](double day, std::uint16_t mover, std::uint16_t target, bool ergebnis) {
        return Hit{2460000.0 + day, mover, target, 0, Direction::direct, ergebnis};
    };
    const std::vector<Hit> hits = {
        hit(0, 2, 1, true),  hit(10, 0, 2, true), hit(15, 2, 3, false),  // not in the Ergebnis: neither counts nor bridges
        hit(40, 1, 0, true),                                            // 30 days after the one before: still in
        hit(100, 2, 0, true), hit(105, 2, 2, true),                     // two targets only
        hit(200, 2, 1, true), hit(201, 2, 2, true), hit(202, 2, 0, true)};
    const auto clusters = find_clusters(hits, movers, targets, 30, 3);
    ASSERT_EQ(clusters.size(), 2u);
    EXPECT_EQ(clusters[0].hits, (std::vector<std::uint32_t>{0, 1, 3}));
    EXPECT_EQ(clusters[0].targets, 2u + 1);
    EXPECT_DOUBLE_EQ(clusters[0].last - clusters[0].first, 40);
    EXPECT_TRUE(clusters[0].beide);  // solar arcs of both persons
    EXPECT_TRUE(clusters[0].touches1 && clusters[0].touches2);
    EXPECT_FALSE(clusters[1].beide);
    EXPECT_TRUE(clusters[1].touches1 && clusters[1].touches2);  // MC1/MC2 holds both
    // Closer together, fewer targets.
    EXPECT_TRUE(find_clusters(hits, movers, targets, 29, 3).size() == 1);
    EXPECT_EQ(find_clusters(hits, movers, targets, 30, 2).size(), 3u);
    EXPECT_TRUE(find_clusters(hits, movers, targets, 30, 4).empty());
    const auto one = find_clusters({hit(200, 2, 2, true), hit(201, 2, 2, true)}, movers, targets, 30, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_FALSE(one[0].touches1);
    EXPECT_TRUE(one[0].touches2);
}

// ---- The points of the comparisons, unknown birth times -------------------------------------------

std::set<std::string> names_of(const std::vector<PairPoint>& points)
{
    std::set<std::string> names;
    for (const PairPoint& p : points) names.insert(point_name(p));
    return names;
}

TEST(TimelineTargets, ErgebnisHoldsTheAxesThePointsAndTheEntriesMidpoints)
{
    const ChartState chart = sample_pair("ALBRECHT.dat", "HOLLMANN.dat");
    const std::set<std::string> plain = {"MC1/MC2", "SO1/SO2", "MC1", "MC2", "SO1", "SO2", "AS1", "AS2", "MO1", "MO2"};
    EXPECT_EQ(names_of(ergebnis_points(chart, std::nullopt)), plain);

    const Orbs orbs{1.0, 0.5, 0.3};
    const auto with_orbs = ergebnis_points(chart, orbs);
    std::set<std::string> expected = plain;
    for (const Comparison c : all_comparisons) {
        const ResultText r = run_comparison(c, chart, orbs);
        for (std::size_t i = 0; i < r.entries.size(); ++i) {
            const auto p = entry_picture(r.entries[i], r.entry_charts[i], chart.pos1, chart.pos2);
            ASSERT_TRUE(p.has_value());
            const auto f = [&](std::size_t k) { return pair_factor(p->factors[k].body, p->factors[k].person); };
            expected.insert(point_name(pair_point(f(0), f(1))));
            expected.insert(point_name(pair_point(f(2), f(3))));
        }
    }
    EXPECT_EQ(names_of(with_orbs), expected);
    EXPECT_GT(with_orbs.size(), plain.size() + 20);
    EXPECT_EQ(names_of(with_orbs).size(), with_orbs.size());  // each point once
}

TEST(TimelineTargets, UnknownBirthTimeLeavesOutMcAndAsAndSaysSo)
{
    // Sonnberg's chart holds 12:00:00.
    const ChartState chart = sample_pair("ALBRECHT.dat", "SONNBERG.dat");
    EXPECT_EQ(names_of(ergebnis_points(chart, std::nullopt)),
              (std::set<std::string>{"SO1/SO2", "MC1", "SO1", "SO2", "AS1", "MO1", "MO2"}));
    TimelineRequest request;
    request.from = jd(2020, 1, 1);
    request.to = jd(2021, 1, 1);
    request.transit_source = PositionSource::theory;
    request.targets = {true, {true, true, true}, {*parse_point_name("AS2/VE1")}};
    request.orbs = Orbs{1.0, 0.5, 0};
    const Timeline t = compute_timeline(chart, request);
    EXPECT_TRUE(t.time_known1);
    EXPECT_FALSE(t.time_known2);
    for (const Mover& m : t.movers) EXPECT_FALSE(m.person() == 2 && (m.body == 0 || m.body == 3)) << mover_name(m);
    EXPECT_EQ(std::count_if(t.movers.begin(), t.movers.end(), [](const Mover& m) { return m.person() == 2; }), 20);
    for (const Target& target : t.targets) {
        const std::string name = point_name(target.point);
        EXPECT_EQ(name.find("MC2"), std::string::npos) << name;
        EXPECT_EQ(name.find("AS2"), std::string::npos) << name;
    }
    const auto notes = unknown_time_notes(t, chart.person1.name, chart.person2.name);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Geburtszeit unbekannt bei Person 2 (Sonnberg): ohne ihr MC und AS und alles, was sie enth\xE4lt");
    EXPECT_TRUE(timeline_tsv(t, notes).starts_with("# " + notes[0] + "\nDatum\tZeit\tAusl\xF6ser\t"));
}

// ---- Texts ---------------------------------------------------------------------------------------

TEST(TimelineTexts, MinutesDatesAndTheCalendarsRules)
{
    // Rounded to the minute, over midnight; the Julian calendar before 1582 (the chart calendar).
    const double day = jd(2024, 2, 29);
    EXPECT_EQ(date_text(minute_time(day + (23 * 60 + 59.6) * minute)) + " " + clock_text(minute_time(day + (23 * 60 + 59.6) * minute)),
              "01.03.2024 00:00");
    EXPECT_EQ(clock_text(minute_time(day + 0.4 * minute)), "00:00");
    EXPECT_EQ(date_text(minute_time(jd(1500, 2, 29) + 0.5)), "29.02.1500");

    Timeline t;
    t.movers = {{Mover::Kind::arc1, 2}, {Mover::Kind::transit, 10}};
    t.targets = {{*parse_point_name("VE2/MC1"), 0, true}, {*parse_point_name("WI"), 0, false}};
    t.hits = {{day + 0.5, 0, 0, 1, Direction::direct, true}, {day + 1, 1, 1, 8, Direction::retrograde, false},
              {jd(1500, 2, 29) + 0.25, 1, 0, 3, Direction::station, true}};
    EXPECT_EQ(timeline_tsv(t, {}), "Datum\tZeit\tAusl\xF6ser\tWinkel\tZiel\tRichtung\tErgebnis\n"
                                   "29.02.2024\t12:00\tSB1:SO\t22,5\tMC1/VE2\td\tja\n"
                                   "01.03.2024\t00:00\tT:SA\t180\tWI\tr\t\n"
                                   "29.02.1500\t06:00\tT:SA\t67,5\tMC1/VE2\ts\tja\n");
    EXPECT_EQ(timeline_csv(t), "Datum,Zeit,Ausl\xC3\xB6ser,Winkel,Ziel,Richtung,Ergebnis\r\n"
                               "29.02.2024,12:00,SB1:SO,\"22,5\",MC1/VE2,d,ja\r\n"
                               "01.03.2024,00:00,T:SA,180,WI,r,\r\n"
                               "29.02.1500,06:00,T:SA,\"67,5\",MC1/VE2,s,ja\r\n");
    EXPECT_EQ(event_summary(t, t.hits[0]), "Sonnenbogen SO1 22,5\xB0 MC1/VE2");
    EXPECT_EQ(event_summary(t, t.hits[1]), "Transit SA 180\xB0 WI (r)");

    // The calendar file: CR LF, lines of at most 75 octets, escaped commas, Gregorian dates, the
    // same UID for the same hit of the same charts, another for another minute.
    CalendarContext context{record("Albrecht", 30, 1, 1958, 21, 50, 0, 10, 53), record("Hollmann", 23, 7, 1975, 17, 25, 30, 7, 51),
                            1767225600, "1.8"};
    context.person1.name = "Albrechtsb\xFChl";  // a long name in the calendar's name line
    const std::string ics = timeline_ics(t, context);
    EXPECT_TRUE(ics.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Duoskop//Duoskop 1.8//DE\r\n"));
    EXPECT_TRUE(ics.ends_with("END:VCALENDAR\r\n"));
    std::size_t start = 0;
    while (start < ics.size()) {
        const std::size_t end = ics.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end - start, 75u) << ics.substr(start, end - start);
        EXPECT_EQ(ics.find('\n', start), end + 1);  // no bare LF
        start = end + 2;
    }
    EXPECT_NE(ics.find("SUMMARY:Sonnenbogen SO1 22\\,5\xC2\xB0 MC1/VE2\r\n"), std::string::npos);
    EXPECT_NE(ics.find("DTSTART:20240229T120000Z\r\n"), std::string::npos);
    EXPECT_NE(ics.find("DTSTAMP:20260101T000000Z\r\n"), std::string::npos);
    EXPECT_NE(ics.find("DTSTART:15000310T060000Z\r\n"), std::string::npos);  // 29.02.1500 Julian
    const auto uids = [](const std::string& text) {
        std::vector<std::string> found;
        for (std::size_t at = text.find("\r\nUID:"); at != std::string::npos; at = text.find("\r\nUID:", at + 1))
            found.push_back(text.substr(at + 6, text.find("\r\n", at + 2) - at - 6));
        return found;
    };
    const auto first = uids(ics);
    ASSERT_EQ(first.size(), 3u);
    context.stamp += 3600;
    EXPECT_EQ(uids(timeline_ics(t, context)), first);
    t.hits[0].instant += minute;
    EXPECT_NE(uids(timeline_ics(t, context))[0], first[0]);
    context.person2.time = "17:25:31";
    t.hits[0].instant -= minute;
    EXPECT_NE(uids(timeline_ics(t, context))[0], first[0]);
}

}  // namespace
}  // namespace duoskop
