// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli midpoints: the sorted midpoint list and the midpoint tree of two sample charts, as
// the dial module computes them, in the documented lines; wrong calls and files that fail.
#include <gtest/gtest.h>

#include <charconv>
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

std::string chart_path(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

ChartState sample_pair()
{
    ChartState chart;
    EXPECT_EQ(holen(chart_path("ALBRECHT"), 1, chart).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(chart_path("HOLLMANN"), 2, chart).outcome, LoadOutcome::loaded);
    return chart;
}

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

// The line of an item: position, tab, name, tab, longitude in its sign (UTF-8).
std::string item_line(const DialItem& item)
{
    return two_decimals(item.position) + "\t" + point_name(item.point) + "\t" +
           cp1252_to_utf8(position_text(item.longitude));
}

TEST(CliMidpoints, SortedListOfEveryDialSize)
{
    const ChartState chart = sample_pair();
    struct Case {
        std::vector<std::string> options;
        double modulus;
    };
    const std::vector<Case> cases = {
        {{}, 22.5}, {{"--sorted"}, 22.5}, {{"--modulus", "22.5"}, 22.5}, {{"--modulus", "360"}, 360},
        {{"--modulus", "90"}, 90}, {{"--modulus", "45"}, 45}, {{"--modulus", "11,25", "--sorted"}, 11.25},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"midpoints", chart_path("ALBRECHT"), chart_path("HOLLMANN")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = run_cli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::vector<std::string> lines = lines_of(r.out);
        const std::vector<DialItem> expected = sorted_midpoints(chart.pos1, &chart.pos2, c.modulus);
        ASSERT_EQ(lines.size(), 946U) << c.modulus;
        ASSERT_EQ(lines.size(), expected.size());
        for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], item_line(expected[i])) << c.modulus;
    }
    // One line written out by hand: the Aries point stands at 0 on every dial.
    const CliRun r = run_cli({"midpoints", chart_path("ALBRECHT"), chart_path("HOLLMANN"), "--modulus", "360"});
    EXPECT_NE(r.out.find("0,00\tWI\t00\u00B000' WID\n"), std::string::npos) << r.out.substr(0, 400);
}

TEST(CliMidpoints, TreeAtThePointer)
{
    const ChartState chart = sample_pair();
    for (const double modulus : {22.5, 90.0, 360.0}) {
        // The pointer on the dial position of person 1's Sun: the Sun heads a branch.
        const double pointer = dial_position(chart.pos1[2], modulus);
        const std::string pointer_arg = two_decimals(pointer);
        const CliRun r = run_cli({"midpoints", chart_path("ALBRECHT"), chart_path("HOLLMANN"), "--modulus",
                                  modulus_text(modulus), "--pointer", pointer_arg, "--orb", "1,5"});
        ASSERT_EQ(r.status, 0) << r.err;
        double given = 0;  // the pointer as the command reads it back from its text
        std::string dotted = pointer_arg;
        dotted[dotted.find(',')] = '.';
        std::from_chars(dotted.data(), dotted.data() + dotted.size(), given);
        const PointerTree tree = pointer_tree(chart.pos1, &chart.pos2, given, 1.5, modulus);
        std::vector<std::string> expected = {"Zeiger " + two_decimals(tree.pointer) + " auf der " +
                                             modulus_text(modulus) + "\u00B0-Scheibe, Orbis 1,50"};
        for (const TreeBranch& b : tree.factors) {
            expected.push_back(item_line(b.factor) + "\t" + two_decimals(b.factor.distance));
            for (const DialItem& m : b.midpoints) expected.push_back("  " + item_line(m) + "\t" + two_decimals(m.distance));
        }
        for (const DialItem& m : tree.midpoints) expected.push_back(item_line(m) + "\t" + two_decimals(m.distance));
        EXPECT_EQ(lines_of(r.out), expected) << modulus;
        EXPECT_NE(r.out.find("\tSO1\t"), std::string::npos);
    }
    // A pointer beyond the dial counts round it; nothing within an orb of 0 leaves the first line.
    const CliRun beyond = run_cli({"midpoints", chart_path("ALBRECHT"), chart_path("HOLLMANN"), "--pointer", "30"});
    EXPECT_TRUE(beyond.out.starts_with("Zeiger 7,50 auf der 22,5\u00B0-Scheibe, Orbis 1,00\n")) << beyond.out;
    const CliRun none =
        run_cli({"midpoints", chart_path("ALBRECHT"), chart_path("HOLLMANN"), "--pointer", "7,5", "--orb", "0"});
    EXPECT_EQ(none.out, "Zeiger 7,50 auf der 22,5\u00B0-Scheibe, Orbis 0,00\n");
}

TEST(CliMidpoints, WrongCallsAndFilesThatFail)
{
    const std::string a = chart_path("ALBRECHT");
    const std::string h = chart_path("HOLLMANN");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;  // part of the error output
    };
    const std::vector<Case> cases = {
        {{"midpoints", a}, 2, "Aufruf: duoskop-cli midpoints P1 P2"},
        {{"midpoints", a, h, h}, 2, "Aufruf: duoskop-cli midpoints"},
        {{"midpoints", a, h, "--sorted", "--pointer", "7"}, 2, "Aufruf"},
        {{"midpoints", a, h, "--modulus", "30"}, 2, "Aufruf"},
        {{"midpoints", a, h, "--modulus", "22"}, 2, "Aufruf"},
        {{"midpoints", a, h, "--pointer", "sieben"}, 2, "Aufruf"},
        {{"midpoints", a, h, "--pointer", "7", "--orb", "10,5"}, 2, "Aufruf"},
        {{"midpoints", a, h, "--png", "x.png"}, 2, "Aufruf"},
        {{"midpoints", a, "FEHLT.dat"}, 1, "Datei nicht gefunden"},  // as compare says it
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args.back() << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.args.back();
    }
    // The sample charts by their names in drive C, as chart finds them.
    const CliRun by_name = run_cli({"midpoints", "ALBRECHT.dat", "HOLLMANN.dat", "--drive-c", DUOSKOP_SOURCE_DRIVE_C});
    EXPECT_EQ(by_name.status, 0) << by_name.err;
    EXPECT_EQ(by_name.out, run_cli({"midpoints", a, h}).out);

    const CliRun help = run_cli({"midpoints", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("  --pointer GRAD"), std::string::npos);
    EXPECT_NE(help.out.find("11,25"), std::string::npos);
}

}  // namespace
}  // namespace duoskop
