// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp_lines;

namespace {

// Axes: MC1/MC1 07°31', SO2/SO2 19°12' (the others far away). Person 1: MC/VE 07°02', AS/JU 08°10',
// SO/MO 07°44'; person 2: AS/VE 19°55', MC/JU 18°47', SO/MO 19°40'.
ChartState venus_and_jupiter(bool with_jupiter)
{
    const double jupiter = with_jupiter ? 0.0 : std::nan("");
    return chart_pair({{"MC", 97.5167}, {"VE", 51.5501}, {"AS", 200}, {"JU", 41.3334 + jupiter}, {"SO", 283},
                       {"MO", 47.4667}},
                      {{"SO", 154.2}, {"AS", 100}, {"VE", 29.8334}, {"MC", 183}, {"JU", 34.5667 + jupiter},
                       {"MO", 20.1334}});
}

}  // namespace

TEST(DoubleComplements, BlockOfBothDirectionsWithCommonMidpoint)
{
    FirstTimeFlags flags;
    const ResultText result = double_complements(venus_and_jupiter(true), Orbs{1.0, 0, 0}, flags);
    const std::vector<std::string> expected = cp_lines({
        "  Hans Meier,   Eva Kunz",
        "",
        "  Pers.1    MC1/MC1 = MC/VE1  AS/JU1  ",
        "             07°31'   07°02'  08°10'  ",
        "",
        "             07°44'  ",
        "             SO/MO   ",
        "             19°40'  ",
        "",
        "  Pers.2    SO2/SO2 = AS/VE2  MC/JU2  ",
        "             19°12'   19°55'  18°47'  ",
        ".........",
        "",
    });
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.entries, (std::vector<std::string>{"MC/MC=MC/VE", "SO/SO=AS/VE", "MC/MC=AS/JU",
                                                         "SO/SO=MC/JU", "MC/MC=SO/MO", "SO/SO=SO/MO"}));
    EXPECT_EQ(result.hint, texts::kHintDoubles);
    EXPECT_EQ(double_complements(venus_and_jupiter(true), Orbs{1.0, 0, 0}, flags).hint, "");
    EXPECT_EQ(result.analysis_title, texts::kTitleDoubles);
    EXPECT_EQ(result.caption, texts::kCaptionDoubles);
}

TEST(DoubleComplements, OneDirectionAloneMakesNoBlock)
{
    FirstTimeFlags flags;
    const ResultText result = double_complements(venus_and_jupiter(false), Orbs{1.0, 0, 0}, flags);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"  Hans Meier,   Eva Kunz", ""}));
    EXPECT_TRUE(result.entries.empty());
}

TEST(DoubleComplements, AscendantFillsBothDirectionsInOneAxis)
{
    // MC/AS at 10 on the dial in both charts, on the axis MC1/MC1 = 10, for both persons.
    FirstTimeFlags flags;
    const ResultText result = double_complements(
        chart_pair({{"MC", 10}, {"AS", 100}}, {{"MC", 50}, {"AS", 330}}), Orbs{1.0, 0, 0}, flags);
    const std::vector<std::string> expected = cp_lines({
        "  Hans Meier,   Eva Kunz",
        "",
        "  Pers.1    MC1/MC1 = MC/AS1  MC/AS1  ",
        "             10°00'   10°00'  10°00'  ",
        "",
        "             10°00'  ",
        "             MC/AS   ",
        "             10°00'  ",
        "",
        "  Pers.2    MC1/MC1 = MC/AS2  MC/AS2  ",
        "             10°00'   10°00'  10°00'  ",
        ".........",
        "",
    });
    EXPECT_EQ(result.lines, expected);
    // Same kind of axis on both sides: the midpoint's second entry is left out.
    EXPECT_EQ(result.entries, std::vector<std::string>(5, "MC/MC=MC/AS"));
}
