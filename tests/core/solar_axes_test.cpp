// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp_lines;

namespace {

// SO1/SO2 at 15. Bodies at 15 + 45k pair with each other on the axis, JU and SA at 37.5 and 82.5
// (15 + 22.5 + 45k) with themselves and each other: nine hits for person 1, seven for person 2.
ChartState nine_and_seven()
{
    return chart_pair({{"SO", 10}, {"MO", 15}, {"ME", 60}, {"VE", 105}, {"JU", 37.5}, {"SA", 82.5}},
                      {{"SO", 20}, {"MO", 15}, {"ME", 60}, {"VE", 105}, {"JU", 37.5}});
}

}  // namespace

TEST(SolarAxes, BlocksOfSevenHitsWithHousesAndTheListTwiceForCommonPairs)
{
    FirstTimeFlags flags;
    const ResultText result = solar_axes(nine_and_seven(), Orbs{0.5, 0, 0}, flags);
    const std::string dashes = "  " + std::string(61, '-');
    const std::string seven = "  MO/MO10  MO/ME11  MO/VE01  ME/ME04  ME/VE05  VE/VE04  JU/JU04  ";
    const std::string seven_positions = fixture::cp(
        "  15°00'   15°00'   15°00'   15°00'   15°00'   15°00'   15°00'   ");
    const std::vector<std::string> expected = {
        "", "  Hans Meier", "", fixture::cp("  SO1/SO2,  15°00'"), dashes,
        seven, seven_positions, "",
        "  JU/SA05  SA/SA04  ", fixture::cp("  15°00'   15°00'   "), "",
        "", "  Eva Kunz", "", fixture::cp("  SO1/SO2,  15°00'"), dashes,
        seven, seven_positions, "",
    };
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(dashes.size(), 63u);
    EXPECT_EQ(seven.size(), 65u);

    std::vector<std::string> entries;
    for (const char* pair : {"MO/MO", "MO/ME", "MO/VE", "ME/ME", "ME/VE", "VE/VE", "JU/JU", "JU/SA",
                             "SA/SA", "MO/MO", "MO/ME", "MO/VE", "ME/ME", "ME/VE", "VE/VE", "JU/JU"})
        entries.push_back(std::string("SO/SO=") + pair);
    EXPECT_EQ(result.entries, entries);

    EXPECT_EQ(result.analysis_title, texts::kTitleSolar);
    EXPECT_EQ(result.caption, texts::kCaptionSolar);
}

TEST(SolarAxes, HintOnlyAtTheFirstRun)
{
    FirstTimeFlags flags;
    EXPECT_EQ(solar_axes(nine_and_seven(), Orbs{0.5, 0, 0}, flags).hint, texts::kHintSolar);
    EXPECT_FALSE(flags.hint_solar);
    EXPECT_EQ(solar_axes(nine_and_seven(), Orbs{0.5, 0, 0}, flags).hint, "");
}

TEST(SolarAxes, PersonWithoutOwnHitsStillGetsAHeader)
{
    FirstTimeFlags flags;
    const ResultText result =
        solar_axes(chart_pair({{"SO", 10}, {"MO", 15}}, {{"SO", 20}, {"MO", 4}}), Orbs{0.5, 0, 0}, flags);
    const std::vector<std::string> expected = cp_lines({
        "", "  Hans Meier", "", "  SO1/SO2,  15°00'", "  -------------------------------------------------------------",
        "  MO/MO10  ", "  15°00'   ", "",
        "", "  Eva Kunz", "", "  SO1/SO2,  15°00'", "  -------------------------------------------------------------",
    });
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.entries, std::vector<std::string>{"SO/SO=MO/MO"});
}

TEST(SolarAxes, NothingOnTheAxisLeavesTheTextEmpty)
{
    FirstTimeFlags flags;
    // MO/MO lies exactly the orb away from the axis: not a hit.
    const ResultText result =
        solar_axes(chart_pair({{"SO", 10}, {"MO", 15.5}}, {{"SO", 20}}), Orbs{0.5, 0, 0}, flags);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_TRUE(result.entries.empty());
}
