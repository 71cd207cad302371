// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/dial.h"
#include "astro/un_math.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp;

namespace {

// A chart whose WI sits at `midpoint` in person 1, so that WI/WI has exactly that dial position.
ChartState chart_with_axis(double midpoint, double axis)
{
    ChartState chart = chart_pair({{"WI", midpoint}}, {});
    chart.axes.axis_value[1] = axis;
    return chart;
}

}  // namespace

TEST(AxisTest, OrbBorderIsStrict)
{
    const Orbs orbs{1.0, 0, 0};
    EXPECT_TRUE(Dial(chart_with_axis(5.5, 6.4), orbs).axis_test(1, 1, 1, 1));
    EXPECT_FALSE(Dial(chart_with_axis(5.5, 6.5), orbs).axis_test(1, 1, 1, 1));
    EXPECT_FALSE(Dial(chart_with_axis(5.5, 6.6), orbs).axis_test(1, 1, 1, 1));
}

TEST(AxisTest, SeamOfTheDial)
{
    const Orbs orbs{1.0, 0, 0};
    EXPECT_TRUE(Dial(chart_with_axis(0.3, 22.0), orbs).axis_test(1, 1, 1, 1));   // 21.7 > 21.5
    EXPECT_FALSE(Dial(chart_with_axis(0.5, 22.0), orbs).axis_test(1, 1, 1, 1));  // 21.5 exactly
    // A longitude above 360 (a Sun a few arc seconds past) wraps to the start of the dial.
    EXPECT_TRUE(Dial(chart_with_axis(360.25, 22.25), orbs).axis_test(1, 1, 1, 1));
}

TEST(PairTests, EachUsesItsOwnOrb)
{
    // MC/SO = 10 and MO/MO = 10.75 in both persons.
    const ChartState chart = chart_pair({{"MC", 0}, {"SO", 20}, {"MO", 10.75}},
                                        {{"MC", 0}, {"SO", 20}, {"MO", 10.75}});
    const Dial simple(chart, Orbs{0, 1.0, 0.5});
    EXPECT_TRUE(simple.pair_test_simple(0, 2, 4, 4, 1));
    EXPECT_FALSE(simple.pair_test_halfsum(0, 2, 4, 4, 1));
    const Dial halfsum(chart, Orbs{0, 0.5, 1.0});
    EXPECT_FALSE(halfsum.pair_test_simple(0, 2, 4, 4, 2));
    EXPECT_TRUE(halfsum.pair_test_halfsum(0, 2, 4, 4, 2));
    // Exactly the orb apart: 0.75 against an orb of 0.75.
    EXPECT_FALSE(Dial(chart, Orbs{0, 0.75, 0.75}).pair_test_simple(0, 2, 4, 4, 1));
    EXPECT_FALSE(Dial(chart, Orbs{0, 0.75, 0.75}).pair_test_halfsum(0, 2, 4, 4, 1));
}

TEST(PairTests, OrbZeroFailsAndOrbAboveAQuarterDialHolds)
{
    const ChartState chart = chart_pair({{"MC", 3}, {"SO", 14}}, {});
    EXPECT_FALSE(Dial(chart, Orbs{0, 0, 0}).pair_test_simple(0, 0, 0, 0, 1));  // even d = 0
    EXPECT_FALSE(Dial(chart, Orbs{0, 0, 0}).axis_test(0, 0, 0, 1));
    EXPECT_TRUE(Dial(chart, Orbs{0, 11.3, 0}).pair_test_simple(0, 0, 2, 2, 1));
    EXPECT_TRUE(Dial(chart, Orbs{0, 11.3, 0}).pair_test_simple(0, 2, 2, 2, 1));
}

TEST(PairTests, PersonSelectorOtherThanOnePicksPersonTwo)
{
    const ChartState chart = chart_pair({{"MC", 1}, {"AS", 2}}, {{"MC", 1}, {"AS", 12}});
    const Dial dial(chart, Orbs{0, 2.0, 0});
    EXPECT_TRUE(dial.pair_test_simple(0, 0, 3, 3, 1));
    for (std::uint8_t person : {0, 2, 3, 255}) EXPECT_FALSE(dial.pair_test_simple(0, 0, 3, 3, person));
}

TEST(Midpoint, PlainMeanOnTheDialWhicheverOrder)
{
    const ChartState chart = chart_pair({{"MC", 350}, {"AS", 10}}, {{"MC", 10}, {"AS", 350}});
    const Dial dial(chart, Orbs{});
    EXPECT_EQ(dial.midpoint(0, 3, 1), 0.0);
    EXPECT_EQ(dial.midpoint(0, 3, 2), 0.0);
    EXPECT_EQ(dial.midpoint(3, 3, 2), mod225(350.0));
}

TEST(CounterpartSet, MCAndASExchanged)
{
    const auto pair = [](std::uint8_t k) {
        const CounterpartPair p = counterpart_set(k);
        return std::pair<int, int>(p.pair_first, p.pair_second);
    };
    EXPECT_EQ(pair(0), std::make_pair(3, 3));
    EXPECT_EQ(pair(1), std::make_pair(1, 3));
    EXPECT_EQ(pair(2), std::make_pair(2, 3));
    EXPECT_EQ(pair(3), std::make_pair(0, 3));
    EXPECT_EQ(pair(7), std::make_pair(3, 7));
    EXPECT_EQ(pair(21), std::make_pair(3, 21));
}

TEST(SignText, SignOfTheUnroundedLongitude)
{
    EXPECT_EQ(sign_text(0), "WID");
    EXPECT_EQ(sign_text(29.99), "WID");
    EXPECT_EQ(sign_text(30), "STI");
    EXPECT_EQ(sign_text(95.5), "KRE");
    EXPECT_EQ(sign_text(359.99), "FIS");
    EXPECT_EQ(sign_text(360.0), "WID");
    EXPECT_EQ(sign_text(360.004), "WID");
}

TEST(SearchAxes, FormedFromBothMCsAndSuns)
{
    const ChartState a = chart_pair({{"MC", 350}, {"SO", 100}}, {{"MC", 10}, {"SO", 200}});
    const ChartState b = chart_pair({{"MC", 10}, {"SO", 100}}, {{"MC", 350}, {"SO", 200}});
    EXPECT_EQ(a.axes.axis_value[1], 0.0);
    EXPECT_EQ(b.axes.axis_value[1], 0.0);
    EXPECT_DOUBLE_EQ(a.axes.axis_value[0], 12.5);
    EXPECT_DOUBLE_EQ(a.axes.axis_value[2], 10);
    EXPECT_DOUBLE_EQ(a.axes.axis_value[3], 10);
    EXPECT_DOUBLE_EQ(a.axes.axis_value[4], 15);
    EXPECT_DOUBLE_EQ(a.axes.axis_value[5], 20);
    const std::array<std::string, 6> names = {"MC1/MC1", "MC1/MC2", "MC2/MC2",
                                              "SO1/SO1", "SO1/SO2", "SO2/SO2"};
    EXPECT_EQ(a.axes.axis_name, names);
}

TEST(SearchAxes, TheFiveLinesOfTheBlock)
{
    const ChartState chart = chart_pair({{"MC", 95.5}, {"SO", 29.995}}, {{"MC", 30}, {"SO", 359.5}});
    const std::vector<std::string> expected = fixture::cp_lines({
        " Die Vorgaben f\xFC" "r die Suche nach Erg\xE4" "nzungen:",
        " Person 1:   MC 05°30' KRE = 05°30' (22,5)      SO 30°00' WID = 07°30' (22,5)",
        " Person 2:   MC 00°00' STI = 07°30' (22,5)      SO 29°30' FIS = 22°00' (22,5)",
        " MC-Suchachsen    MC1/MC1 05°30'   MC1/MC2 17°45'   MC2/MC2 07°30'",
        " SO-Suchachsen    SO1/SO1 07°30'   SO1/SO2 14°45'   SO2/SO2 22°00'",
    });
    EXPECT_EQ(search_axis_lines(chart.pos1, chart.pos2, chart.axes), expected);
}
