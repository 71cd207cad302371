// SPDX-License-Identifier: GPL-3.0-or-later
// The graphic ephemeris as geometry: for a year of the sample pair on each dial size every drawn
// hit lies where its curve crosses its line, the curves wrap at the dial's edges, the hits drawn are
// exactly those that are crossings on that dial; the time axis, the default range and the sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "ephemeris/ephemeris.h"

namespace duoskop {
namespace {

ChartState sample_pair()
{
    const std::string dir = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    ChartState chart;
    EXPECT_EQ(holen(dir + "ALBRECHT.dat", 1, chart).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(dir + "HOLLMANN.dat", 2, chart).outcome, LoadOutcome::loaded);
    return chart;
}

/// One drawn year (2025) of the sample pair per dial size, computed once.
const Ephemeris& year_on(double modulus)
{
    static const ChartState chart = sample_pair();
    static std::vector<std::pair<double, Ephemeris>> drawn;
    for (const auto& [m, e] : drawn)
        if (m == modulus) return e;
    TimelineRequest request = ephemeris_request(chart_julian_day0(2025, 1, 1), chart_julian_day0(2026, 1, 1));
    request.orbs = Orbs{1.0, 1.0, 0.0};  // the comparisons' midpoints too: more lines to cross
    drawn.emplace_back(modulus, compute_ephemeris(chart, request, modulus));
    return drawn.back().second;
}

/// The signed distance of dial position y above the line at `line`, the short way round the dial.
double above(double y, double line, double modulus) { return std::remainder(y - line, modulus); }

/// The instant nearest to `t` at which a piece of `curve` crosses (or touches) dial position `line`,
/// found in the polyline alone; infinity when it never does.
double nearest_crossing(const MoverCurve& curve, double line, double modulus, double t)
{
    double best = std::numeric_limits<double>::infinity();
    for (const auto& piece : curve.pieces)
        for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
            const double a = above(piece[i].y, line, modulus), b = above(piece[i + 1].y, line, modulus);
            // A change of sign far from the line is the seam of the dial, not a crossing.
            if (std::abs(a) > modulus / 4 || std::abs(b) > modulus / 4) continue;
            if (a * b > 0 && std::abs(a) > 1e-9 && std::abs(b) > 1e-9) continue;
            const double share = a == b ? 0.0 : a / (a - b);
            const double crossing = piece[i].t + share * (piece[i + 1].t - piece[i].t);
            if (std::abs(crossing - t) < std::abs(best - t)) best = crossing;
        }
    return best;
}

class EphemerisYear : public ::testing::TestWithParam<double> {};

TEST_P(EphemerisYear, EveryDrawnHitLiesOnACrossingOfItsCurveAndLine)
{
    const double modulus = GetParam();
    const Ephemeris& e = year_on(modulus);
    ASSERT_FALSE(e.cancelled);
    ASSERT_GT(e.hits.size(), 20U);
    for (const EphemerisHit& h : e.hits) {
        const TargetLine& line = e.lines[h.line];
        const MoverCurve& curve = e.curves[h.curve];
        const Hit& hit = e.timeline.hits[h.hit];
        ASSERT_EQ(line.target, hit.target);
        ASSERT_EQ(curve.mover, hit.mover);
        EXPECT_EQ(h.y, line.y);
        // Within one day of the horizontal scale.
        EXPECT_LE(std::abs(nearest_crossing(curve, line.y, modulus, h.t) - h.t), 1.0)
            << curve.label << " on " << line.label << " at " << h.t;
    }
}

TEST_P(EphemerisYear, DrawsExactlyTheHitsThatCrossALineOnThisDial)
{
    const double modulus = GetParam();
    const Ephemeris& e = year_on(modulus);
    const auto steps = static_cast<unsigned>(std::lround(modulus / 22.5));
    std::size_t crossing = 0;
    for (const Hit& hit : e.timeline.hits) crossing += hit.angle % steps == 0 ? 1 : 0;
    EXPECT_EQ(e.hits.size(), crossing);
    for (const EphemerisHit& h : e.hits) EXPECT_EQ(e.timeline.hits[h.hit].angle % steps, 0U);
    if (modulus == 22.5) EXPECT_EQ(e.hits.size(), e.timeline.hits.size());
    else EXPECT_LT(e.hits.size(), e.timeline.hits.size());
    // In time order, as the timeline's.
    EXPECT_TRUE(std::is_sorted(e.hits.begin(), e.hits.end(),
                               [](const EphemerisHit& a, const EphemerisHit& b) { return a.t < b.t; }));
}

TEST_P(EphemerisYear, CurvesWrapAtTheEdgesAndStayInside)
{
    const double modulus = GetParam();
    const Ephemeris& e = year_on(modulus);
    // The ring's movers: the solar arcs of MC, SO, AS, MO of both persons and JU to PL.
    ASSERT_EQ(e.curves.size(), 13U);
    bool wrapped = false;
    for (const MoverCurve& curve : e.curves) {
        ASSERT_FALSE(curve.pieces.empty()) << curve.label;
        ASSERT_TRUE(curve.label_at.has_value());
        for (const auto& piece : curve.pieces) {
            for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
                EXPECT_LE(std::abs(piece[i + 1].y - piece[i].y), modulus / 2) << curve.label;
                EXPECT_LE(piece[i].t, piece[i + 1].t);
            }
            for (const CurvePoint& p : piece) {
                EXPECT_GE(p.y, 0.0);
                EXPECT_LE(p.y, modulus);
                EXPECT_GE(p.t, e.from - 1e-9);
                EXPECT_LE(p.t, e.to + 1e-9);
            }
        }
        // Where a piece ends inside the range it ends on an edge, and the next begins on the other.
        for (std::size_t k = 0; k + 1 < curve.pieces.size(); ++k) {
            const CurvePoint end = curve.pieces[k].back(), next = curve.pieces[k + 1].front();
            EXPECT_EQ(end.t, next.t);
            EXPECT_EQ(end.y + next.y, modulus) << curve.label;
            wrapped = true;
        }
    }
    EXPECT_TRUE(wrapped);  // a year of JU to PL passes the edge of every dial at least once
}

INSTANTIATE_TEST_SUITE_P(Moduli, EphemerisYear, ::testing::Values(22.5, 45.0, 90.0));

TEST(Ephemeris, TimeAxisHasMonthTicksAndYearTicks)
{
    const Ephemeris& e = year_on(22.5);
    ASSERT_EQ(e.ticks.size(), 13U);  // 1.1.2025 to 1.1.2026 both on the edges
    EXPECT_EQ(e.ticks.front().label, "1.2025");
    EXPECT_TRUE(e.ticks.front().year);
    EXPECT_EQ(e.ticks[2].label, "M\xE4r");
    EXPECT_FALSE(e.ticks[2].year);
    EXPECT_EQ(e.ticks[2].instant, chart_julian_day0(2025, 3, 1));
    EXPECT_EQ(e.ticks.back().label, "1.2026");
    EXPECT_DOUBLE_EQ(e.x_of(e.ticks.back().instant), 1.0);
    // The lines carry the names of the points and stand at their dial positions.
    ASSERT_FALSE(e.lines.empty());
    EXPECT_EQ(e.lines.front().label, "MC1/MC2");
    for (const TargetLine& l : e.lines) EXPECT_TRUE(l.y >= 0 && l.y < 22.5);
}

TEST(Ephemeris, LongRangesGetYearTicksOnly)
{
    const Ephemeris e = compute_ephemeris(sample_pair(),
                                          ephemeris_request(chart_julian_day0(2020, 6, 15), chart_julian_day0(2025, 6, 15)),
                                          22.5);
    ASSERT_EQ(e.ticks.size(), 5U);
    for (const TimeTick& t : e.ticks) EXPECT_TRUE(t.year);
    EXPECT_EQ(e.ticks.front().label, "1.2021");
}

TEST(Ephemeris, DefaultRangeIsAYearFromTheFirstOfTheMonth)
{
    struct Case {
        double today;
        double from, to;
    } const cases[] = {
        {chart_julian_day0(2025, 3, 17) + 0.6, chart_julian_day0(2025, 3, 1), chart_julian_day0(2026, 3, 1)},
        {chart_julian_day0(2024, 12, 31) + 0.99, chart_julian_day0(2024, 12, 1), chart_julian_day0(2025, 12, 1)},
        {chart_julian_day0(2024, 1, 1), chart_julian_day0(2024, 1, 1), chart_julian_day0(2025, 1, 1)},
    };
    for (const Case& c : cases) {
        const EphemerisRange r = default_ephemeris_range(c.today);
        EXPECT_EQ(r.from, c.from);
        EXPECT_EQ(r.to, c.to);
    }
}

TEST(Ephemeris, DrawsTheDialsOfTwentyTwoAndAHalfFortyFiveAndNinety)
{
    struct Case {
        const char* text;
        std::optional<double> modulus;
    } const cases[] = {{"22,5", 22.5}, {"22.5", 22.5}, {"45", 45.0}, {"90", 90.0}, {"360", std::nullopt},
                       {"11,25", std::nullopt}, {"30", std::nullopt}, {"", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(parse_ephemeris_modulus(c.text), c.modulus) << c.text;
}

TEST(Ephemeris, NearestDrawnHitAndTitle)
{
    const Ephemeris& e = year_on(22.5);
    const EphemerisHit& h = e.hits[e.hits.size() / 2];
    const auto near = nearest_drawn_hit(e, h.t + 0.1, h.y + 0.01);
    ASSERT_TRUE(near);
    // That hit, or one drawn on top of it.
    EXPECT_NEAR(e.hits[*near].t, h.t, 0.2);
    EXPECT_NEAR(e.hits[*near].y, h.y, 0.02);
    EXPECT_FALSE(nearest_drawn_hit(Ephemeris{}, 0, 0));
    const std::string title = ephemeris_title(sample_pair(), e.from, e.to, 22.5);
    EXPECT_NE(title.find("01.01.2025 bis 31.12.2025, 22,5\xB0"), std::string::npos) << title;
}

}  // namespace
}  // namespace duoskop
