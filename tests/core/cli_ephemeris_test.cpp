// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli ephemeris: PNG, SVG and PDF in one run, the SVG's names as text, wrong calls named;
// report --ephemeris puts the drawing into the report's formats and wants --timeline.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/test_support.h"

using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;

namespace {

std::string chart(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

std::size_t count_of(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(CliEphemeris, WritesPngSvgAndPdfAtOnce)
{
    const TempDir dir;
    const CliRun r = run_cli({"ephemeris", chart("ALBRECHT"), chart("HOLLMANN"), "--from", "01.01.2025", "--to",
                              "31.12.2025", "--png", dir.file("e.png"), "--svg", dir.file("e.svg"), "--pdf",
                              dir.file("e.pdf"), "--size", "1000"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(slurp(dir.file("e.png")).starts_with("\x89PNG\r\n\x1A\n"));
    EXPECT_TRUE(slurp(dir.file("e.pdf")).starts_with("%PDF-"));
    const std::string svg = slurp(dir.file("e.svg"));
    EXPECT_NE(svg.find("viewBox=\"0 0 1000 600\""), std::string::npos);
    // The codes stay text: the lines' and the curves' names, the months, the title with both names.
    for (const char* text : {">MC1/MC2</text>", ">SO1</text>", ">T:SA</text>", ">SB1:MC</text>", ">SB2:SO</text>",
                             ">Feb</text>", ">1.2025</text>"})
        EXPECT_EQ(count_of(svg, text), 1U) << text;
    EXPECT_NE(svg.find("<title>Grafische Ephemeride "), std::string::npos);
    EXPECT_NE(svg.find("01.01.2025 bis 31.12.2025, 22,5\xC2\xB0</title>"), std::string::npos);
}

TEST(CliEphemeris, ChosenMoversTargetsAndDial)
{
    const TempDir dir;
    const CliRun r = run_cli({"ephemeris", chart("ALBRECHT"), chart("HOLLMANN"), "--from", "01.03.2025", "--to",
                              "31.05.2025", "--modulus", "45", "--movers", "t", "--transits", "SA,UR", "--targets",
                              "MC1,SO2/MO1", "--svg", dir.file("e.svg")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = slurp(dir.file("e.svg"));
    for (const char* text : {">T:SA</text>", ">T:UR</text>", ">MC1</text>", ">MO1/SO2</text>", ">45</text>"})
        EXPECT_EQ(count_of(svg, text), 1U) << text;
    for (const char* text : {">T:JU</text>", ">SB1:MC</text>", ">SO1</text>"}) EXPECT_EQ(count_of(svg, text), 0U) << text;
}

TEST(CliEphemeris, WrongCallsAreNamedAndWriteNothing)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::string p1 = chart("ALBRECHT"), p2 = chart("HOLLMANN");
    const Case cases[] = {
        {{"ephemeris", p1, p2, "--from", "01.01.2025", "--to", "31.12.2025"}, "mindestens eine Ausgabe"},
        {{"ephemeris", p1, p2, "--modulus", "30", "--png", "@/e.png"}, "\"30\" ist keine Scheibe der Ephemeride"},
        {{"ephemeris", p1, p2, "--modulus", "360", "--png", "@/e.png"}, "\"360\" ist keine Scheibe"},
        {{"ephemeris", p1, p2, "--movers", "sb3", "--png", "@/e.png"}, "sb3"},
        {{"ephemeris", p1, p2, "--from", "31.02.2025", "--png", "@/e.png"}, "31.02.2025"},
        {{"ephemeris", p1, p2, "--from", "01.02.2025", "--to", "01.01.2025", "--png", "@/e.png"}, "Zeitraum ist leer"},
        {{"ephemeris", p1, "--png", "@/e.png"}, "P1 und P2"},
        {{"report", p1, p2, "--double", "1", "--simple", "0,5", "--analyses", "solar", "--pdf", "@/r.pdf",
          "--ephemeris"}, "--ephemeris nur mit --timeline"},
    };
    for (const Case& c : cases) {
        const TempDir dir;
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(a.rfind('@', 0) == 0 ? dir.path().string() + a.substr(1) : a);
        const CliRun r = run_cli(args);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(CliEphemeris, ReportCarriesTheEphemerisOfItsTimeline)
{
    const TempDir dir;
    const std::vector<std::string> base = {"report", chart("ALBRECHT"), chart("HOLLMANN"), "--double", "1", "--simple",
                                           "0,5", "--analyses", "solar", "--timeline", "01.01.2025,30.06.2025"};
    std::vector<std::string> with = base;
    for (const std::string& a : {std::string("--ephemeris"), std::string("--html"), dir.file("mit.html"),
                                 std::string("--pdf"), dir.file("mit.pdf"), std::string("--odt"), dir.file("mit.odt")})
        with.push_back(a);
    std::vector<std::string> without = base;
    for (const std::string& a : {std::string("--html"), dir.file("ohne.html")}) without.push_back(a);
    const CliRun r = run_cli(with);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run_cli(without).status, 0);
    // The HTML gets a second inline SVG (the dial is the first) with the curves' names as text.
    const std::string html = slurp(dir.file("mit.html"));
    EXPECT_EQ(count_of(html, "<svg"), 2U);
    EXPECT_EQ(count_of(slurp(dir.file("ohne.html")), "<svg"), 1U);
    EXPECT_NE(html.find(">T:PL</text>"), std::string::npos);
    EXPECT_NE(html.find("Grafische Ephemeride "), std::string::npos);
    EXPECT_TRUE(slurp(dir.file("mit.pdf")).starts_with("%PDF-"));
    // The ODT holds a second picture beside the dial.
    EXPECT_NE(slurp(dir.file("mit.odt")).find("Pictures/Picture2"), std::string::npos);
}
