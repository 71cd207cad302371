// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli dial: PNG and SVG of the dial of sample charts, without a display; the labels stay
// text in the SVG; wrong usage and files that cannot be read or written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "astro/un_math.h"
#include "base/cp1252.h"
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

// Width and height from a PNG's header chunk.
std::pair<unsigned, unsigned> png_size(const std::string& png)
{
    const auto be32 = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return png.size() < 24 ? std::pair<unsigned, unsigned>{0, 0} : std::pair{be32(16), be32(20)};
}

bool has_text(const std::string& svg, const std::string& text)
{
    return svg.find(">" + text + "</text>") != std::string::npos;
}

// Runs the CLI where no display can be opened: an X11 platform asked for, no X server named.
CliRun run_without_display(const std::vector<std::string>& args)
{
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    ::unsetenv("DISPLAY");
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    CliRun r = run_cli(args);
    ::unsetenv("QT_QPA_PLATFORM");
    if (display != nullptr) ::setenv("DISPLAY", saved.c_str(), 1);
    return r;
}

}  // namespace

TEST(CliDial, PngAndSvgOfBothPersonsWithoutADisplay)
{
    const TempDir dir;
    const CliRun r = run_without_display({"dial", chart("ALBRECHT"), chart("HOLLMANN"), "--png", dir.file("d.png"),
                                          "--svg", dir.file("d.svg"), "--size", "640", "--pointer", "7,5"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = slurp(dir.file("d.png"));
    ASSERT_TRUE(png.starts_with("\x89PNG\r\n\x1A\n"));
    EXPECT_EQ(png_size(png), (std::pair<unsigned, unsigned>{640, 640}));

    const std::string svg = slurp(dir.file("d.svg"));
    ASSERT_TRUE(svg.find("<svg") != std::string::npos);
    EXPECT_TRUE(svg.find("viewBox=\"0 0 640 640\"") != std::string::npos);
    // Every code of the 22 factors stands as text, once in each ring, and the scale's numbers too.
    for (const char* code : {"MC", "WI", "SO", "AS", "MO", "KN", "ME", "VE", "MA", "JU", "SA", "UR", "NE",
                             "PL", "CU", "HA", "ZE", "KR", "AP", "AD", "VU", "PO"}) {
        std::size_t count = 0;
        for (std::size_t at = svg.find(std::string(">") + code + "</text>"); at != std::string::npos;
             at = svg.find(std::string(">") + code + "</text>", at + 1))
            ++count;
        EXPECT_EQ(count, 2U) << code;
    }
    EXPECT_TRUE(has_text(svg, "22"));
    EXPECT_TRUE(has_text(svg, "07\xC2\xB0" "30'"));  // the pointer, in UTF-8
    EXPECT_TRUE(svg.find("innen: Marie Albrecht") != std::string::npos);
    EXPECT_TRUE(svg.find("au\xC3\x9F" "en: Greta Hollmann") != std::string::npos);
}

TEST(CliDial, FourCodesPutThePointerOnTheFirstPair)
{
    duoskop::ChartState state;
    ASSERT_EQ(duoskop::holen(chart("ALBRECHT"), 1, state).outcome, duoskop::LoadOutcome::loaded);
    const double axis = duoskop::mod225((state.pos1[0] + state.pos1[15]) / 2);  // MC/HA
    const std::string pointer = duoskop::cp1252_to_utf8(duoskop::angle_text(2, 1, axis));

    const TempDir dir;
    const CliRun r = run_cli({"dial", chart("ALBRECHT"), "--svg", dir.file("one.svg"), "--highlight", "MC,HA,SO,AS"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = slurp(dir.file("one.svg"));
    EXPECT_TRUE(has_text(svg, pointer)) << pointer;
    EXPECT_TRUE(has_text(svg, "MC"));
    EXPECT_TRUE(svg.find("au\xC3\x9F" "en:") == std::string::npos);  // one person: no outer ring
}

TEST(CliDial, ARelativeChartNameIsLookedUpInDriveC)
{
    // As chart, compare and report: a name not found from the working folder comes from the drive.
    const TempDir dir;
    const CliRun named = run_cli({"dial", "ALBRECHT.dat", "hollmann.dat", "--svg", dir.file("d.svg"), "--drive-c",
                                  DUOSKOP_SOURCE_DRIVE_C});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_TRUE(slurp(dir.file("d.svg")).find("innen: Marie Albrecht") != std::string::npos);
    const CliRun missing = run_cli({"dial", "FEHLT.dat", "--svg", dir.file("e.svg"), "--drive-c", DUOSKOP_SOURCE_DRIVE_C});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("FEHLT.dat: Datei nicht gefunden"), std::string::npos) << missing.err;
}

TEST(CliDial, WrongUsageAndFailingFiles)
{
    const TempDir dir;
    const std::string out = dir.file("x.png");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;  // part of the error output
    };
    const std::vector<Case> cases = {
        {{"dial", chart("ALBRECHT")}, 2, "Aufruf: duoskop-cli dial"},  // no output named
        {{"dial", "--png", out}, 2, "Aufruf"},                                    // no person
        {{"dial", chart("ALBRECHT"), chart("HOLLMANN"), chart("WEIDNER"), "--png", out}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png", out, "--size", "99"}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png", out, "--size", "8OO"}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png", out, "--pointer", "sieben"}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png", out, "--highlight", "MC,GZ"}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png", out, "--colour", "rot"}, 2, "Aufruf"},
        {{"dial", chart("ALBRECHT"), "--png"}, 2, "Aufruf"},
        {{"dial", dir.file("FEHLT.dat"), "--png", out}, 1, "FEHLT"},
        {{"dial", chart("ALBRECHT"), "--png", dir.file("kein/ordner.png")}, 1, "ordner.png"},
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back() << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args.back() << ": " << r.err;
    }
    EXPECT_TRUE(slurp(out).empty());  // nothing written by any of them

    const CliRun help = run_cli({"dial", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--highlight K\xC3\x9CRZEL"), std::string::npos);
}

// Every dial size: the scale's numbers of that size, on the 360-degree dial the signs, the pointer
// reduced to the dial; a size the program does not draw is a wrong call.
TEST(CliDial, EveryDialSize)
{
    const TempDir dir;
    struct Case {
        const char* modulus;
        const char* pointer;             // 30 is 7,5 on the dials of 22.5 and 11.25 degrees
        std::vector<std::string> texts;  // drawn as text
        std::vector<std::string> absent;
    };
    const std::vector<Case> cases = {
        {"360", "7,5", {"WID", "FIS", "07\xC2\xB0" "30' WID"}, {"22"}},
        {"90", "7,5", {"85", "45", "07\xC2\xB0" "30'"}, {"86", "WID"}},
        {"11,25", "30", {"11", "07\xC2\xB0" "30'"}, {"12", "22"}},
    };
    for (const Case& c : cases) {
        const std::string svg_file = dir.file(std::string("d") + c.modulus + ".svg");
        const CliRun r = run_cli({"dial", chart("ALBRECHT"), chart("HOLLMANN"), "--svg", svg_file, "--modulus",
                                  c.modulus, "--pointer", c.pointer});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string svg = slurp(svg_file);
        for (const std::string& t : c.texts) EXPECT_TRUE(has_text(svg, t)) << c.modulus << ": " << t;
        for (const std::string& t : c.absent) EXPECT_FALSE(has_text(svg, t)) << c.modulus << ": " << t;
        EXPECT_TRUE(has_text(svg, "MC")) << c.modulus;
    }
    for (const char* wrong : {"30", "22,5x"}) {
        const CliRun r = run_cli({"dial", chart("ALBRECHT"), "--svg", dir.file("x.svg"), "--modulus", wrong});
        EXPECT_EQ(r.status, 2) << wrong;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.svg")));
}

// --date adds the third ring: the movers' codes with their marks as text, the instant in a corner;
// the picture without it stays as it was. Wrong calls of the ring's options end with 2, naming why.
TEST(CliDial, ThirdRingForAnInstant)
{
    const TempDir dir;
    const auto draw = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {"dial", chart("ALBRECHT"), chart("HOLLMANN"), "--svg", dir.file(name + ".svg"),
                                         "--png", dir.file(name + ".png"), "--pointer", "7,5"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
        return std::pair{slurp(dir.file(name + ".svg")), slurp(dir.file(name + ".png"))};
    };
    const auto [plain_svg, plain_png] = draw("plain", {});
    const auto [ring_svg, ring_png] = draw("ring", {"--date", "15.06.2024", "--time", "14:30"});
    const auto [noon_svg, noon_png] = draw("noon", {"--date", "15.06.2024"});
    const auto [saturn_svg, saturn_png] = draw("saturn", {"--date", "15.06.2024", "--movers", "t", "--transits", "SA"});
    EXPECT_NE(plain_png, ring_png);
    EXPECT_NE(ring_png, noon_png);  // the Moon's arc and the transits move in two and a half hours
    EXPECT_FALSE(has_text(plain_svg, "T"));
    EXPECT_TRUE(has_text(ring_svg, "Ausl\xC3\xB6ser 15.06.2024 14:30 UT"));
    EXPECT_TRUE(has_text(noon_svg, "Ausl\xC3\xB6ser 15.06.2024 12:00 UT"));
    // Marks: the person of a solar arc, T for a transit (SO1, SO2, MC1, ..., JU to PL).
    const auto count = [](const std::string& svg, const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = svg.find(">" + text + "</text>"); at != std::string::npos;
             at = svg.find(">" + text + "</text>", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(ring_svg, "T"), 5U);
    EXPECT_EQ(count(ring_svg, "1"), count(plain_svg, "1") + 4);  // the scale's 1 and four arcs
    EXPECT_EQ(count(ring_svg, "SO"), 4U);                          // SO1, SO2 natal and SB1:SO, SB2:SO
    EXPECT_EQ(count(saturn_svg, "T"), 1U);
    EXPECT_EQ(count(saturn_svg, "SA"), 3U);

    const std::string out = dir.file("x.png");
    struct Case {
        std::vector<std::string> args;
        const char* err;
    };
    const std::vector<Case> cases = {
        {{"--time", "12:00"}, "--time nur mit --date"},
        {{"--movers", "sb1"}, "nur mit --date"},
        {{"--date", "1.1.2020", "--movers", "sb1,xx"}, "unbekannter Ausl\xC3\xB6ser \"xx\""},
        {{"--date", "1.1.2020", "--transits", "MC"}, "\"MC\" kann nicht laufen"},
        {{"--date", "30.02.2020"}, "\"30.02.2020\" ist kein Datum"},
        {{"--date", "1.1.2020", "--time", "25:00"}, "\"25:00\" ist keine Zeit"},
        {{"--date", "1.1.2020", "--arc", "falsch"}, "\"falsch\" ist kein Bogen"},
        {{"--date", "1.1.0900"}, "zwischen 1000 und 3000"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"dial", chart("ALBRECHT"), "--png", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.status, 2) << c.err << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Aufruf: duoskop-cli dial"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// duoskop-cli draws through duoskop-cli-draw in <prefix>/lib/duoskop beside its own bin/. A copy
// of duoskop-cli without it says so and ends with 1; the commands that draw nothing still work.
TEST(CliDial, WithoutTheDrawingProgramTheDialFailsClearly)
{
    const TempDir prefix;
    std::filesystem::create_directory(prefix.path() / "bin");
    const auto cli = prefix.path() / "bin" / "duoskop-cli";
    std::filesystem::copy_file(DUOSKOP_CLI, cli);
    const std::string png = prefix.file("x.png");
    const auto run = [&](const std::string& args) {
        const std::string command = "'" + cli.string() + "' " + args + " >/dev/null 2>'" + prefix.file("err") + "'";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(run("dial '" + chart("ALBRECHT") + "' --png '" + png + "'"), 1);
    const std::string err = prefix.read("err");
    EXPECT_NE(err.find("duoskop-cli dial: "), std::string::npos) << err;
    EXPECT_NE(err.find("lib/duoskop/duoskop-cli-draw: Datei nicht gefunden"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_EQ(run("chart --raw '" + chart("ALBRECHT") + "'"), 0);
}
