// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp_lines;

namespace {

// On the dial, person 1: MC/JU 7.2, AS/JU 7.6, SO/MO 6.9, ME/PL 7.4, VE/SA and SO/PL 7.9;
// person 2: MC/JU 15.0, AS/JU 15.4, SO/MO 15.7, ME/PL 15.2, VE/SA and SO/PL 14.7.
ChartState jupiter_pair()
{
    return chart_pair({{"MC", 0}, {"JU", 14.4}, {"AS", 45.8}, {"SO", 3}, {"MO", 10.8}, {"ME", 2},
                       {"PL", 12.8}, {"VE", 1}, {"SA", 14.8}},
                      {{"MC", 20}, {"JU", 10}, {"AS", 20.8}, {"SO", 11}, {"MO", 20.4}, {"VE", 8},
                       {"SA", 21.4}, {"ME", 12}, {"PL", 18.4}});
}

}  // namespace

TEST(McAsList, TwoSidedBlockOfOneBody)
{
    const ResultText result = mc_as_list(jupiter_pair(), Orbs{0, 0.5, 0});
    EXPECT_EQ(result.lines.front(), "  Hans Meier                          Eva Kunz");
    EXPECT_EQ(result.lines.front().find("Eva"), 38u);

    const std::vector<std::string> expected = cp_lines({
        "  MC/JU1  AS/JU2   07°12'   15°24'    MC/JU2  AS/JU1   15°00'   07°36'",
        "  --------------------------------------------------------------------",
        "  MC/JU   MC/JU    07°12'   15°00'    MC/JU   MC/JU    15°00'   07°12' >>>",
        "  SO/MO   SO/MO    06°54'   15°42'    ",
        "                                      SO/PL   SO/PL    14°42'   07°54'",
        "  AS/JU   AS/JU    07°36'   15°24'    AS/JU   AS/JU    15°24'   07°36' >>>",
        "  ME/PL   ME/PL    07°24'   15°12'    ME/PL   ME/PL    15°12'   07°24' >>>",
        "                                      VE/SA   VE/SA    14°42'   07°54'",
        "",
    });
    const std::vector<std::string> block = fixture::lines_from(result.lines, "  MC/JU1", expected.size());
    EXPECT_EQ(block, expected);
    EXPECT_EQ(block[0].size(), 70u);
    EXPECT_EQ(block[3].size(), 38u);  // left side only: 35 characters and three blanks
    EXPECT_EQ(block[4].size(), 70u);  // right side only: 38 blanks and 32 characters
    EXPECT_EQ(result.lines[result.lines.size() - expected.size() - 1].size(), 0u);

    // Only the two-sided lines make entries, in line order.
    const auto first = std::find(result.entries.begin(), result.entries.end(), "MC/JU=MC/JU");
    ASSERT_NE(first, result.entries.end());
    EXPECT_EQ(std::vector<std::string>(first, first + 3),
              (std::vector<std::string>{"MC/JU=MC/JU", "MC/JU=AS/JU", "MC/JU=ME/PL"}));
    EXPECT_EQ(std::count(result.entries.begin(), result.entries.end(), "MC/JU=SO/MO"), 0);
}

TEST(McAsList, AscendantBlockAlwaysHoldsMCAS)
{
    const ResultText result = mc_as_list(jupiter_pair(), Orbs{0, 0.5, 0});
    const std::vector<std::string> block = fixture::lines_from(result.lines, "  MC/AS1", 4);
    ASSERT_EQ(block.size(), 4u);
    EXPECT_EQ(block[0], fixture::cp("  MC/AS1  MC/AS2   00°24'   20°24'    MC/AS2  MC/AS1   20°24'   00°24'"));
    EXPECT_EQ(std::count(result.entries.begin(), result.entries.end(), "MC/AS=MC/AS"), 1);
    EXPECT_EQ(result.analysis_title, texts::kTitleMcAsList);
    EXPECT_EQ(result.caption, texts::kCaptionMcAsList);
    EXPECT_EQ(result.hint, "");
}

TEST(McAsList, NoHitLeavesOnlyTheNameLine)
{
    // Orb 0: not even MC/AS meets itself.
    const ResultText result = mc_as_list(jupiter_pair(), Orbs{0, 0, 0});
    EXPECT_EQ(result.lines, std::vector<std::string>{"  Hans Meier                          Eva Kunz"});
    EXPECT_TRUE(result.entries.empty());
}
