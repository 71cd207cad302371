// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry of the dial picture: the circle's directions and seam, the orb of the pointer with
// the comparisons' strict borders, label spreading, and the factors of result entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "astro/un_math.h"
#include "dialview/dial_view.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;

namespace {

// Distance of two shown label positions along the circle, the short way.
double circle_distance(double a, double b)
{
    const double d = std::fabs(a - b);
    return std::min(d, dial_span - d);
}

}  // namespace

TEST(DialGeometry, DirectionsRunCounterClockwiseFromTheTop)
{
    struct Case {
        double position;
        double x, y;  // unit circle around the origin, y downward
    };
    const std::vector<Case> cases = {
        {0, 0, -1},          // top
        {5.625, -1, 0},      // a quarter of the dial: left
        {11.25, 0, 1},       // half: bottom
        {16.875, 1, 0},      // three quarters: right
        {22.5, 0, -1},       // the seam is the top again
        {-5.625, 1, 0},      // below 0 continues from 22.5
        {45 + 5.625, -1, 0}, // whole turns drop out
    };
    for (const Case& c : cases) {
        const DialPoint p = dial_point(c.position, 0, 0, 1);
        EXPECT_NEAR(p.x, c.x, 1e-12) << c.position;
        EXPECT_NEAR(p.y, c.y, 1e-12) << c.position;
        EXPECT_NEAR(dial_position_at(p.x, p.y), normalize_dial(c.position), 1e-9) << c.position;
    }
    EXPECT_EQ(dial_position_at(0, 0), 0);
}

TEST(DialGeometry, SeamOfTheDial)
{
    EXPECT_EQ(normalize_dial(22.5), 0);
    EXPECT_EQ(normalize_dial(-1e-18), 0);  // lifted by 22.5 it would round to 22.5 itself
    EXPECT_DOUBLE_EQ(normalize_dial(-0.25), 22.25);
    EXPECT_LT(normalize_dial(std::nextafter(22.5, 0.0)), 22.5);
    EXPECT_EQ(normalize_dial(std::nan("")), 0);
    // The short way across the seam, both directions.
    EXPECT_DOUBLE_EQ(dial_difference(22.25, 0.25), 0.5);
    EXPECT_DOUBLE_EQ(dial_difference(0.25, 22.25), -0.5);
    EXPECT_DOUBLE_EQ(dial_difference(3, 14.25), -11.25);
    EXPECT_NEAR(dial_angle(22.4999999), 2 * std::numbers::pi, 1e-6);
}

TEST(PointerOrb, StrictBordersAndTheSeamAsInTheComparisons)
{
    // Person 1's Sun alone, at the dial positions of the table; the pointer at 6.5 or 22.0.
    struct Case {
        double sun;
        double pointer;
        bool on_pointer;
    };
    const std::vector<Case> cases = {
        {5.5, 6.4, true},     // 0.9 within 1.0
        {5.5, 6.5, false},    // exactly the orb: not within
        {5.5, 6.6, false},
        {0.3, 22.0, true},    // across the seam: 21.7 > 21.5
        {0.5, 22.0, false},   // 21.5 exactly: not within
        {360.25, 22.25, true},  // a Sun just past 360 stands at the start of the dial
        {22.5 + 0.5, 0.5, true},
    };
    for (const Case& c : cases) {
        const ChartState chart = chart_pair({{"SO", c.sun}}, {});
        const auto hits = hits_on_pointer(chart.pos1, nullptr, c.pointer, 1.0);
        EXPECT_EQ(!hits.empty(), c.on_pointer) << c.sun << " at " << c.pointer;
    }
    // An orb of 0 finds nothing, even on the spot.
    const ChartState chart = chart_pair({{"SO", 5.5}}, {});
    EXPECT_TRUE(hits_on_pointer(chart.pos1, nullptr, 5.5, 0).empty());
}

TEST(PointerOrb, FactorsAndMidpointsOfBothPersonsClosestFirst)
{
    // Person 1: MC 10, JU 100 (MC/JU at 55 = 10 on the dial). Person 2: SO 190.2 (10.2), MO 10.4.
    const ChartState chart = chart_pair({{"MC", 10}, {"JU", 100}}, {{"SO", 190.2}, {"MO", 10.4}});
    const auto hits = hits_on_pointer(chart.pos1, &chart.pos2, 10.05, 0.5);
    std::vector<std::string> names;
    for (const PointerHit& h : hits) names.push_back(std::to_string(h.person) + ":" + hit_name(h));
    // MC1 and MC/JU1 at 0.05; JU1 (100 = 10.0) too; SO2 at 0.15; SO/MO2 (100.3 = 10.3) 0.25;
    // MO2 at 0.35. Equal distances keep person, then body order.
    const std::vector<std::string> expected = {"1:MC", "1:MC/JU", "1:JU", "2:SO", "2:SO/MO", "2:MO"};
    EXPECT_EQ(names, expected);
    ASSERT_EQ(hits.size(), 6U);
    EXPECT_NEAR(hits[3].distance, 0.15, 1e-9);
    EXPECT_NEAR(hits[3].position, 10.2, 1e-9);
    for (std::size_t i = 1; i < hits.size(); ++i) EXPECT_LE(hits[i - 1].distance, hits[i].distance);
}

TEST(LabelSpreading, TwentyTwoFactorsCrowdedIntoOneDegreeStandApart)
{
    std::vector<double> crowd;
    for (int i = 0; i < 22; ++i) crowd.push_back(7.0 + i * (1.0 / 22));
    struct Case {
        std::vector<double> positions;
        double gap;
    };
    std::vector<double> across_seam;  // the same crowd split by the seam
    for (int i = 0; i < 22; ++i) across_seam.push_back(normalize_dial(22.0 + i * (1.0 / 22)));
    std::vector<double> stacked(22, 3.0);  // all on one spot
    std::vector<double> two_crowds;        // two crowds half a turn apart that meet on both sides
    for (int i = 0; i < 11; ++i) {
        two_crowds.push_back(0.1);
        two_crowds.push_back(11.25);
    }
    const std::vector<Case> cases = {
        {crowd, 0.5}, {across_seam, 0.5}, {stacked, 0.5}, {stacked, 5.0}, {two_crowds, 1.0}};
    for (const Case& c : cases) {
        const std::vector<double> shown = spread_labels(c.positions, c.gap);
        ASSERT_EQ(shown.size(), c.positions.size());
        const double gap = std::min(c.gap, dial_span / static_cast<double>(shown.size()));
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_GE(shown[i], 0);
            EXPECT_LT(shown[i], dial_span);
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_GE(circle_distance(shown[i], shown[j]), gap * (1 - 1e-9))
                    << "labels " << i << " and " << j << " stacked (gap " << c.gap << ")";
        }
    }

    // The crowd keeps its order and stays centred on where it stands.
    const std::vector<double> shown = spread_labels(crowd, 0.5);
    for (std::size_t i = 1; i < shown.size(); ++i) EXPECT_NEAR(shown[i] - shown[i - 1], 0.5, 1e-9);
    double mean_true = 0;
    double mean_shown = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        mean_true += crowd[i] / 22;
        mean_shown += shown[i] / 22;
    }
    EXPECT_NEAR(mean_shown, mean_true, 1e-9);
}

TEST(LabelSpreading, LabelsWithRoomStayWhereTheyAre)
{
    const std::vector<double> positions = {1.0, 1.1, 8.0, 15.0, 22.45};
    const std::vector<double> shown = spread_labels(positions, 0.4);
    EXPECT_DOUBLE_EQ(shown[2], 8.0);
    EXPECT_DOUBLE_EQ(shown[3], 15.0);
    // 1.0 and 1.1 move apart around their middle; 22.45 is pushed back from 1.0 across the seam.
    EXPECT_GE(circle_distance(shown[0], shown[1]), 0.4 - 1e-9);
    EXPECT_GE(circle_distance(shown[4], shown[0]), 0.4 - 1e-9);
    EXPECT_LT(circle_distance(shown[4], 22.45), 0.4);
    EXPECT_TRUE(spread_labels({}, 0.5).empty());
}

TEST(EntryPicture, FactorsComeFromTheChartsTheComparisonTookThemFrom)
{
    // MC1 10, MC2 30: the axis MC1/MC2 at 20; JU1 100 (10 on the dial), SA2 200 (20 on the dial).
    const ChartState chart = chart_pair({{"MC", 10}, {"JU", 100}, {"SA", 120}}, {{"MC", 30}, {"SA", 200}});
    const auto mixed = entry_picture("MC/MC=JU/SA", {1, 2, 1, 2}, chart.pos1, chart.pos2);
    ASSERT_TRUE(mixed);
    EXPECT_DOUBLE_EQ(mixed->axis, 20);
    EXPECT_DOUBLE_EQ(mixed->second, mod225(150.0));  // (100 + 200) / 2
    EXPECT_EQ(mixed->factors[3].body, 10);
    EXPECT_EQ(mixed->factors[3].person, 2);
    EXPECT_DOUBLE_EQ(mixed->factors[3].position, mod225(200.0));
    // The same text taken wholly from person 1.
    const auto own = entry_picture("MC/MC=JU/SA", {1, 1, 1, 1}, chart.pos1, chart.pos2);
    ASSERT_TRUE(own);
    EXPECT_DOUBLE_EQ(own->axis, 10);
    EXPECT_DOUBLE_EQ(own->factors[3].position, mod225(120.0));

    for (const char* broken : {"", "MC/MC=JU/S", "MC/MC=JU/XX", "MC/MC=GZ/SA", "MCxMC=JU/SA"})
        EXPECT_FALSE(entry_picture(broken, {}, chart.pos1, chart.pos2)) << broken;
}

TEST(EntryPicture, CodeLists)
{
    EXPECT_EQ(parse_code_list("MC,HA,SO,AS"), (std::vector<std::uint8_t>{0, 15, 2, 3}));
    EXPECT_EQ(parse_code_list(" mc , Po"), (std::vector<std::uint8_t>{0, 21}));
    for (const char* broken : {"", "MC,", "MC,,SO", "GZ", "Du", "MCX"})
        EXPECT_FALSE(parse_code_list(broken)) << broken;
}

// Every entry of the five comparisons on sample charts names its charts, and its second midpoint
// stands within the comparison's orb of its axis in those charts: the entry's picture holds there.
TEST(EntryPicture, EveryComparisonEntryHoldsInTheChartsItNames)
{
    const auto load = [](const char* p1, const char* p2) {
        ChartState chart;
        const std::string dir = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
        EXPECT_EQ(holen(dir + p1 + ".dat", 1, chart).outcome, LoadOutcome::loaded);
        EXPECT_EQ(holen(dir + p2 + ".dat", 2, chart).outcome, LoadOutcome::loaded);
        return chart;
    };
    struct Case {
        const char* name;
        ResultText result;
        double orb;
        bool every_entry_holds;  // simple complements: a midpoint of the second direction is
                                 // listed under the first direction's formula
    };
    FirstTimeFlags flags;
    HalfsumCount counts{};
    const ChartState aw = load("ALBRECHT", "WEIDNER");
    const ChartState ah = load("ALBRECHT", "HOLLMANN");
    const ChartState sw = load("SONNBERG", "WEIDNER");
    const ChartState ak = load("ALBRECHT", "KRANICH");
    ResultText simple = simple_complements(ah, {1.0, 1.0, 0}, flags, counts);
    std::vector<Case> cases;
    cases.push_back({"double", double_complements(aw, {1.0, 0.5, 0}, flags), 1.0, true});
    cases.push_back({"simple", simple, 1.0, false});
    cases.push_back({"halfsum", halfsum_evaluation(ah, {1.0, 1.0, 1.0}, counts), 1.0, true});
    cases.push_back({"solar", solar_axes(sw, {0.5, 0.5, 0}, flags), 0.5, true});
    cases.push_back({"list", mc_as_list(ak, {1.0, 0.5, 0}), 0.5, true});
    const std::vector<const ChartState*> charts = {&aw, &ah, &ah, &sw, &ak};

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const ChartState& chart = *charts[i];
        ASSERT_FALSE(c.result.entries.empty()) << c.name;
        ASSERT_EQ(c.result.entry_charts.size(), c.result.entries.size()) << c.name;
        std::size_t held = 0;
        for (std::size_t e = 0; e < c.result.entries.size(); ++e) {
            const auto picture =
                entry_picture(c.result.entries[e], c.result.entry_charts[e], chart.pos1, chart.pos2);
            ASSERT_TRUE(picture) << c.name << " " << c.result.entries[e];
            const double d = std::fabs(picture->axis - picture->second);
            const bool holds = d < c.orb || d > dial_span - c.orb;
            held += holds ? 1 : 0;
            if (c.every_entry_holds) {
                EXPECT_TRUE(holds) << c.name << " " << c.result.entries[e];
            }
        }
        EXPECT_GT(held, 0U) << c.name;
    }
    // The solar axis joins both Suns; the double complements name both persons' sides.
    EXPECT_EQ(cases[3].result.entry_charts.front(), (EntryCharts{1, 2, 1, 1}));
    EXPECT_EQ(cases[3].result.entry_charts.back(), (EntryCharts{1, 2, 2, 2}));
}
