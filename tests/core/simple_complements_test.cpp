// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "analysis/comparisons.h"
#include "base/texts.h"
#include "tests/core/comparison_fixture.h"

using namespace duoskop;
using duoskop::fixture::chart_pair;
using duoskop::fixture::cp_lines;

namespace {

// Person 1: MC/JU 07°31' on AS/MO 07°02', ME/NE 07°10', VE/MA 07°44'.
// Person 2: AS/JU 19°12' on MC/MO 19°55', ME/NE 19°02', VE/MA 19°40'.
// Besides, MC/ME = AS/AS in person 1 and AS/ME = MC/AS in person 2, without a common midpoint.
ChartState jupiter_pair()
{
    return chart_pair({{"MC", 100}, {"JU", 50.0334}, {"AS", 200}, {"MO", 39.0667},
                               {"ME", 300}, {"NE", 29.3334}, {"VE", 250}, {"MA", 35.4667}},
                      {{"AS", 120}, {"JU", 8.4001}, {"MC", 220}, {"MO", 44.8334},
                               {"ME", 310}, {"NE", 43.0667}, {"VE", 170}, {"MA", 49.3334}});
}

std::uint32_t count_of(const HalfsumCount& count, std::uint8_t k, std::uint8_t l) { return count[k][l]; }

std::uint32_t total(const HalfsumCount& count)
{
    std::uint32_t sum = 0;
    for (const auto& row : count)
        for (std::uint32_t c : row) sum += c;
    return sum;
}

}  // namespace

TEST(SimpleComplements, PictureOfPersonOneWithItsReversal)
{
    FirstTimeFlags flags;
    HalfsumCount count{};
    count[5][5] = 7;  // left over from an earlier run
    const ResultText result = simple_complements(jupiter_pair(), Orbs{0, 1.0, 0}, flags, count);
    const std::vector<std::string> expected = cp_lines({
        "  Hans Meier,   Eva Kunz",
        "",
        "  Pers.1   MC/JU = AS/MO  ",
        "           07°31'  07°02'  ",
        "",
        "           07°10'  07°44'  ",
        "           ME/NE   VE/MA   ",
        "           19°02'  19°40'  ",
        "",
        "  Pers.2   AS/JU = MC/MO",
        "           19°12'  19°55'  ",
        ".........",
        "",
    });
    EXPECT_EQ(result.lines, expected);
    // ME has a picture (with AS/AS, the AS last for bodies before the Moon) but no common midpoint:
    // no block, yet its formulas are listed.
    const std::vector<std::string> entries = {"MC/ME=AS/AS", "AS/ME=MC/AS", "MC/JU=AS/MO", "MC/JU=ME/NE",
                                              "AS/JU=ME/NE", "MC/JU=VE/MA", "AS/JU=VE/MA", "AS/JU=MC/MO"};
    EXPECT_EQ(result.entries, entries);

    EXPECT_EQ(count_of(count, 6, 12), 1u);  // ME/NE
    EXPECT_EQ(count_of(count, 7, 8), 1u);   // VE/MA
    EXPECT_EQ(total(count), 2u);            // zeroed first

    EXPECT_EQ(result.hint, texts::kHintSimples);
    EXPECT_EQ(result.analysis_title, texts::kTitleSimples);
    EXPECT_EQ(result.caption, texts::kCaptionSimples);
}

TEST(SimpleComplements, PictureOfPersonTwoOnly)
{
    // Person 2 has MC/JU = AS/MO and also AS/JU = MC/MO, which the display of this direction asks for.
    FirstTimeFlags flags;
    HalfsumCount count{};
    const ResultText result = simple_complements(
        chart_pair({{"AS", 120}, {"JU", 8.4001}, {"MC", 220}, {"MO", 44.8334}, {"ME", 310}, {"NE", 43.0667},
                    {"VE", 170}, {"MA", 49.3334}},
                   {{"MC", 100}, {"JU", 50.0334}, {"AS", 190}, {"MO", 4.1334}, {"ME", 300}, {"NE", 29.3334},
                    {"VE", 250}, {"MA", 35.4667}}),
        Orbs{0, 1.0, 0}, flags, count);

    const std::vector<std::string> jupiter = cp_lines({
        "  Pers.1   AS/JU = MC/MO",
        "           19°12'  19°55'  ",
        "",
        "           19°55'  19°12'  19°02'  19°40'  ",
        "           MC/MO   AS/JU   ME/NE   VE/MA   ",
        "           07°04'  07°31'  07°10'  07°44'  ",
        "",
        "  Pers.2   MC/JU = AS/MO  ",
        "           07°31'  07°04'  ",
        ".........",
    });
    EXPECT_EQ(fixture::lines_from(result.lines, "  Pers.1   AS/JU", jupiter.size()), jupiter);

    // Formulas from the direction-2 picture; midpoint entries P1 then P2 side; P2 formula last.
    const std::vector<std::string> tail = {"AS/JU=MC/MO", "AS/JU=MC/MO", "MC/JU=MC/MO", "AS/JU=AS/JU",
                                           "MC/JU=AS/JU", "AS/JU=ME/NE", "MC/JU=ME/NE", "AS/JU=VE/MA",
                                           "MC/JU=VE/MA", "MC/JU=AS/MO"};
    ASSERT_GE(result.entries.size(), tail.size());
    EXPECT_EQ(std::vector<std::string>(result.entries.end() - static_cast<std::ptrdiff_t>(tail.size()),
                                       result.entries.end()),
              tail);

    // The Ascendant has pictures in both directions: both on the names lines, formulas from the first,
    // the positions of each picture under its own names where the names leave room.
    const std::vector<std::string> ascendant = cp_lines({
        "  Pers.1   MC/AS = MC/AS  MC/AS = MC/AS",
        "           12°30'  12°30' 12°30'  12°30'  ",
        "",
        "           12°30'  ",
        "           MC/AS   ",
        "           10°00'  ",
        "",
        "  Pers.2   MC/AS = MC/MCMC/AS = AS/AS",
        "           10°00'  10°00' 10°00'  10°00'  ",
    });
    EXPECT_EQ(fixture::lines_from(result.lines, "  Pers.1   MC/AS", ascendant.size()), ascendant);
    const std::vector<std::string> head = {"MC/AS=MC/AS", "MC/AS=MC/AS", "MC/AS=MC/AS", "MC/AS=MC/MC"};
    EXPECT_EQ(std::vector<std::string>(result.entries.begin(), result.entries.begin() + 4), head);

    // A midpoint found in both sections of a body counts twice; MC/AS in both sections of AS.
    EXPECT_EQ(count_of(count, 0, 3), 2u);
    EXPECT_EQ(count_of(count, 6, 12), 2u);  // ME/NE: once for MO, once for JU
    EXPECT_EQ(count_of(count, 12, 12), 1u);
}

TEST(SimpleComplements, NothingFoundAndHintOnce)
{
    FirstTimeFlags flags;
    flags.hint_simples = false;
    HalfsumCount count{};
    count[0][0] = 3;
    const ResultText result = simple_complements(jupiter_pair(), Orbs{0, 0, 0}, flags, count);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"  Hans Meier,   Eva Kunz", ""}));
    EXPECT_TRUE(result.entries.empty());
    EXPECT_EQ(result.hint, "");
    EXPECT_EQ(total(count), 0u);
}
