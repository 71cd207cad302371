// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp_lines;

TEST(HalfsumEvaluation, MidpointInTwoAxesOfBothDirections)
{
    // SO/MO at 07°40' (P1) and 19°33' (P2): MC/VE1 = AS/VE2 on it, and AS/JU1 = MC/JU2.
    const ChartState chart =
        chart_pair({{"MC", 20}, {"VE", 220.0334}, {"AS", 50}, {"JU", 235.6}, {"SO", 300}, {"MO", 30.3334}},
                   {{"AS", 21.7}, {"VE", 61.7}, {"MC", 14.8334}, {"JU", 114.8334}, {"SO", 200}, {"MO", 19.1}});
    HalfsumCount count{};
    count[2][4] = 2;
    const ResultText result = halfsum_evaluation(chart, Orbs{0, 0, 0.5}, count);
    const std::vector<std::string> expected = cp_lines({
        "  Hans Meier,   Eva Kunz",
        "",
        "  Pers.1  MC/VE04 AS/JU07 ",
        "          07°31'  07°48'  ",
        "",
        "          07°40'  07°40'  ",
        "          SO/MO   SO/MO   ",
        "          19°33'  19°33'  ",
        "",
        "  Pers.2  AS/VE02 MC/JU01 ",
        "          19°12'  19°50'  ",
    });
    EXPECT_EQ(result.lines, expected);
    EXPECT_EQ(result.entries, (std::vector<std::string>{"MC/VE=SO/MO", "AS/VE=SO/MO", "AS/JU=SO/MO", "MC/JU=SO/MO"}));
    EXPECT_EQ(result.analysis_title, texts::kTitleHalfsums);
    EXPECT_EQ(result.caption, texts::kCaptionHalfsums);

    // Counted once only: never shown.
    count[2][4] = 1;
    const ResultText once = halfsum_evaluation(chart, Orbs{0, 0, 0.5}, count);
    EXPECT_EQ(once.lines, cp_lines({"  Hans Meier,   Eva Kunz", "", "  Pers.1  ", "          ", "", "          ",
                                    "          ", "          ", "", "  Pers.2  ", "          "}));
    EXPECT_TRUE(once.entries.empty());
}

TEST(HalfsumEvaluation, ColumnsNineOnInTheContinuationLines)
{
    // Every midpoint of MC, AS and MO lies at 0 on the dial in both charts, so each counted midpoint
    // meets the axes of MC (MC/MC, AS/AS), AS (MC/AS) and MO (MC/MO, AS/MO): 3 columns per midpoint.
    const ChartState chart =
        chart_pair({{"MC", 0}, {"AS", 45}, {"MO", 90}}, {{"MC", 22.5}, {"AS", 67.5}, {"MO", 337.5}});
    HalfsumCount count{};
    count[0][0] = count[0][3] = count[0][4] = 2;
    count[3][3] = 5;
    const ResultText result = halfsum_evaluation(chart, Orbs{0, 0, 0.5}, count);
    const std::vector<std::string> expected = cp_lines({
        "  Hans Meier,   Eva Kunz",
        "",
        "  Pers.1  MC/MC10 MC/AS11 MC/MO01 MC/MC10 MC/AS11 MC/MO01 MC/MC10 MC/AS11 ",
        "          00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  ",
        "",
        "          MC/MO01 MC/MC10 MC/AS11 MC/MO01 ",
        "          00°00'  00°00'  00°00'  00°00'  ",
        "",
        "          00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  ",
        "          MC/MC   MC/MC   MC/MC   MC/AS   MC/AS   MC/AS   MC/MO   MC/MO   ",
        "          00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  ",
        "",
        "          00°00'  00°00'  00°00'  00°00'  ",
        "          MC/MO   AS/AS   AS/AS   AS/AS   ",
        "          00°00'  00°00'  00°00'  00°00'  ",
        "",
        "  Pers.2  AS/AS01 MC/AS11 AS/MO10 AS/AS01 MC/AS11 AS/MO10 AS/AS01 MC/AS11 ",
        "          00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  00°00'  ",
        "",
        "          AS/MO10 AS/AS01 MC/AS11 AS/MO10 ",
        "          00°00'  00°00'  00°00'  00°00'  ",
    });
    EXPECT_EQ(result.lines, expected);
    // Both directions hold everywhere here; each column is written once, in the MC/i-at-P1 form.
    ASSERT_EQ(result.entries.size(), 24u);
    EXPECT_EQ(result.entries[0], "MC/MC=MC/MC");
    EXPECT_EQ(result.entries[1], "AS/AS=MC/MC");
}

TEST(HalfsumEvaluation, LinesAreCutAt255CharactersButEveryOccurrenceIsListed)
{
    // Five bodies at 0 on the dial: 15 midpoints, each in the axes of the five bodies: 75 columns.
    const ChartState chart = chart_pair({{"MC", 0}, {"AS", 45}, {"MO", 90}, {"ME", 135}, {"VE", 180}},
                                        {{"MC", 0}, {"AS", 45}, {"MO", 90}, {"ME", 135}, {"VE", 180}});
    HalfsumCount count{};
    const std::uint8_t bodies[] = {0, 3, 4, 6, 7};
    for (std::uint8_t k : bodies)
        for (std::uint8_t l : bodies)
            if (k <= l) count[k][l] = 300;  // counts beyond 255 go on
    const ResultText result = halfsum_evaluation(chart, Orbs{0, 0, 0.5}, count);
    ASSERT_EQ(result.lines.size(), 21u);
    EXPECT_EQ(result.lines[2].size(), 10u + 8 * 8);
    for (std::size_t i : {5u, 6u, 12u, 13u, 14u, 19u, 20u}) EXPECT_EQ(result.lines[i].size(), 255u) << i;
    EXPECT_EQ(result.entries.size(), 150u);
}
