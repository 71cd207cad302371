// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli midpoints: the sorted midpoint list and the midpoint tree of two sample charts, as
// the dial module computes them, in the documented lines; wrong calls and files that fail.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "app/dial.h"
#include "base/cp1252.h"
#include "dialview/midpoints.h"
#include "tests/core/test_support.h"

using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;

namespace duoskop {
namespace {

const std::string albrecht = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/ALBRECHT.dat";
const std::string hollmann = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/HOLLMANN.dat";

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "7,53" for 7.53: two decimals with the decimal comma.
std::string two_decimals(double value)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, written.ptr);
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

// Position, tab, name, tab, longitude in its sign (UTF-8); in the tree a tab and the distance.
std::string item_line(const DialItem& item, bool with_distance = false)
{
    return two_decimals(item.position) + "\t" + point_name(item.point) + "\t" +
           cp1252_to_utf8(position_text(item.longitude)) + (with_distance ? "\t" + two_decimals(item.distance) : "");
}

TEST(CliMidpoints, SortedListAndTreeAsTheDialComputesThem)
{
    ChartState chart;
    ASSERT_EQ(holen(albrecht, 1, chart).outcome, LoadOutcome::loaded);
    ASSERT_EQ(holen(hollmann, 2, chart).outcome, LoadOutcome::loaded);
    for (const double modulus : {22.5, 360.0, 11.25}) {
        const std::vector<std::string> size = {"--modulus", modulus == 11.25 ? "11.25" : modulus_text(modulus)};
        CliRun r = run_cli(modulus == 22.5 ? std::vector<std::string>{"midpoints", albrecht, hollmann}
                                           : std::vector<std::string>{"midpoints", albrecht, hollmann, size[0], size[1]});
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::string> expected;
        for (const DialItem& item : sorted_midpoints(chart.pos1, &chart.pos2, modulus))
            expected.push_back(item_line(item));
        ASSERT_EQ(expected.size(), 946U);
        EXPECT_EQ(lines_of(r.out), expected) << modulus;
        EXPECT_TRUE(r.out.starts_with("0,00\tWI\t00\u00B000' WID\n"));  // the Aries point first, always

        // The tree at person 1's Sun, to the hundredth as given: the Sun heads a branch.
        const double pointer = std::round(dial_position(chart.pos1[2], modulus) * 100) / 100;
        r = run_cli({"midpoints", albrecht, hollmann, size[0], size[1], "--pointer", two_decimals(pointer), "--orb", "1,5"});
        ASSERT_EQ(r.status, 0) << r.err;
        const PointerTree tree = pointer_tree(chart.pos1, &chart.pos2, pointer, 1.5, modulus);
        expected = {"Zeiger " + two_decimals(tree.pointer) + " auf der " + modulus_text(modulus) +
                    "\u00B0-Scheibe, Orbis 1,50"};
        for (const TreeBranch& b : tree.factors) {
            expected.push_back(item_line(b.factor, true));
            for (const DialItem& m : b.midpoints) expected.push_back("  " + item_line(m, true));
        }
        for (const DialItem& m : tree.midpoints) expected.push_back(item_line(m, true));
        EXPECT_EQ(lines_of(r.out), expected) << modulus;
        EXPECT_NE(r.out.find("\tSO1\t"), std::string::npos);
    }
    // A pointer beyond the dial counts round it; nothing within an orb of 0 leaves the first line.
    const CliRun none = run_cli({"midpoints", albrecht, hollmann, "--pointer", "30", "--orb", "0"});
    EXPECT_EQ(none.out, "Zeiger 7,50 auf der 22,5\u00B0-Scheibe, Orbis 0,00\n");
}

TEST(CliMidpoints, WrongCallsAndFilesThatFail)
{
    const std::string a = albrecht;
    const std::string h = hollmann;
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"midpoints", a}, 2},
        {{"midpoints", a, h, "--sorted", "--pointer", "7"}, 2},
        {{"midpoints", a, h, "--modulus", "30"}, 2},
        {{"midpoints", a, h, "--pointer", "sieben"}, 2},
        {{"midpoints", a, h, "--pointer", "7", "--orb", "10,5"}, 2},
        {{"midpoints", a, "FEHLT.dat"}, 1},
    };
    for (const auto& [args, status] : cases) {
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.status, status) << args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(status == 2 ? "Aufruf: duoskop-cli midpoints P1 P2" : "Datei nicht gefunden"),
                  std::string::npos)
            << args.back() << ": " << r.err;
        EXPECT_EQ(r.out, "") << args.back();
    }
    // The sample charts by their names in drive C, as chart finds them.
    const CliRun by_name = run_cli({"midpoints", "ALBRECHT.dat", "HOLLMANN.dat", "--drive-c", DUOSKOP_SOURCE_DRIVE_C});
    EXPECT_EQ(by_name.status, 0) << by_name.err;
    EXPECT_EQ(by_name.out, run_cli({"midpoints", a, h}).out);
    // The German help names the tree's format.
    const CliRun help = run_cli({"midpoints", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Zeiger 7,50 auf der 22,5\u00B0-Scheibe, Orbis 1,00"), std::string::npos);
}

}  // namespace
}  // namespace duoskop
