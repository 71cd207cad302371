// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli axes and compare on the sample drive: whole reports and entries byte for byte
// against expected files, the terminal output, and the usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/test_support.h"

namespace fs = std::filesystem;
using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::slurp;
using duoskop::test_support::TempDir;

namespace {

std::string chart(const std::string& name)
{
    return std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat";
}

std::string expected(const std::string& name) { return slurp(fs::path(DUOSKOP_TEST_DATA) / "reports" / name); }

class CliCompare : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.file(name); }

    TempDir dir_;
};

struct ReportCase {
    const char* name;  // expected files <name>.txt and <name>.entries
    const char* person1;
    const char* person2;
    std::vector<std::string> options;
};

}  // namespace

TEST_F(CliCompare, WholeReportsOfSampleChartPairs)
{
    const std::vector<ReportCase> cases = {
        {"albrecht_weidner_double", "ALBRECHT", "WEIDNER",
         {"--analysis", "double", "--double", "1,0", "--simple", "0,5"}},
        {"albrecht_hollmann_simple", "ALBRECHT", "HOLLMANN",
         {"--analysis", "simple", "--double", "1,0", "--simple", "1,0"}},
        {"albrecht_hollmann_halfsum", "ALBRECHT", "HOLLMANN",
         {"--analysis", "halfsum", "--double", "1,0", "--simple", "1.0", "--halfsum", "1,0"}},
        {"sonnberg_weidner_solar", "SONNBERG", "WEIDNER",
         {"--analysis", "solar", "--double", "0,5", "--simple", "0,5"}},
        {"albrecht_kranich_list", "ALBRECHT", "KRANICH",
         {"--analysis", "list", "--double", "1,0", "--simple", "0.5"}},
    };
    for (const ReportCase& c : cases) {
        std::vector<std::string> args = {"compare", chart(c.person1), chart(c.person2)};
        args.insert(args.end(), c.options.begin(), c.options.end());
        for (const char* option : {"--report", "report.txt", "--entries", "entries.txt"})
            args.push_back(std::string(option).ends_with(".txt") ? path(option) : option);
        const CliRun r = run_cli(args);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        EXPECT_EQ(slurp(path("report.txt")), expected(std::string(c.name) + ".txt")) << c.name;
        EXPECT_EQ(slurp(path("entries.txt")), expected(std::string(c.name) + ".entries")) << c.name;
    }
}

TEST_F(CliCompare, TerminalShowsTextThenEntriesInUtf8)
{
    const CliRun r = run_cli({"compare", chart("ALBRECHT"), chart("WEIDNER"), "--analysis", "double", "--double",
                          "1,0", "--simple", "0,5"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string text = expected("albrecht_weidner_double.txt");
    std::string utf8;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\xB0') utf8 += "\u00B0";
        else if (c == '\xFC') utf8 += "\u00FC";
        else utf8 += c;
    }
    EXPECT_EQ(r.out, utf8 + expected("albrecht_weidner_double.entries"));
}

TEST_F(CliCompare, AxesBlockOnTheTerminalAndAsReport)
{
    const CliRun r = run_cli({"axes", chart("ALBRECHT"), chart("WEIDNER"), "--report", path("axes.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(path("axes.txt")), expected("albrecht_weidner_axes.txt"));
    EXPECT_TRUE(r.out.starts_with(" Die Vorgaben f\u00FCr die Suche nach Erg\u00E4nzungen:\n Person 1:   MC 21\u00B044' KRE"))
        << r.out;
}

TEST_F(CliCompare, WrongUsageExits2)
{
    const std::string a = chart("ALBRECHT");
    const std::string b = chart("WEIDNER");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"compare", a, b, "--double", "1,0", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "1,0"},
             {"compare", a, b, "--analysis", "sun", "--double", "1,0", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "1,x", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "1,0,0", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "nan", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "solar", "--double", "10,5", "--simple", "0,5"},  // "1.,5"
             {"compare", a, b, "--analysis", "solar", "--double", "1,0", "--simple", "-1"},    // "-."
             {"compare", a, b, "--analysis", "halfsum", "--double", "1,0", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "halfsum", "--double", "1,0", "--simple", "0,5", "--halfsum", "0"},
             {"compare", a, b, "--analysis", "list", "--double", "1,0", "--simple", "0,5", "--export-texts",
              "some", "x.txt"},
             {"compare", a, "--analysis", "list", "--double", "1,0", "--simple", "0,5"},
             {"compare", a, b, "--analysis", "list", "--double", "1,0", "--simple"},
             {"axes", a},
             {"axes", a, b, "--entries", "x.txt"},
         }) {
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.status, 2) << args.size() << " " << args.back();
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliCompare, ChartThatCannotBeLoadedExits1WithTheMessage)
{
    const CliRun r = run_cli({"compare", chart("ALBRECHT"), path("NOBODY.dat"), "--analysis", "solar", "--double",
                          "1,0", "--simple", "0,5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_FALSE(r.err.empty());
}

TEST_F(CliCompare, ExportOfAllTextsWritesRealTextBlocks)
{
    const CliRun r = run_cli({"compare", chart("WEIDNER"), chart("HOLLMANN"), "--analysis", "double", "--double",
                              "2,0", "--simple", "1,5", "--export-texts", "alle", path("texte.txt"), "--drive-c",
                              DUOSKOP_SOURCE_DRIVE_C});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = dir_.read("texte.txt");
    EXPECT_TRUE(text.starts_with("J\xFCrgen Weidner,   Greta Hollmann   MC-SO-Achsen (dopp.)\r\n\r\n")) << text;
    // Picture texts of the sample collection and single meanings standing in for missing ones.
    EXPECT_NE(text.find("\r\nIm Brennpunkt des eigenen Ichs "), std::string::npos);
    // A substitute block: two single-meaning lines "XX/YY: text", then the line of four blanks.
    std::vector<std::string> lines;
    for (std::size_t start = 0, stop; (stop = text.find("\r\n", start)) != std::string::npos; start = stop + 2)
        lines.push_back(text.substr(start, stop - start));
    const auto single_meaning_line = [](const std::string& line) {
        return line.size() > 7 && line[2] == '/' && line.substr(5, 2) == ": ";
    };
    bool substitute_block = false;
    for (std::size_t i = 0; i + 2 < lines.size(); ++i)
        substitute_block = substitute_block || (single_meaning_line(lines[i]) &&
                                                single_meaning_line(lines[i + 1]) && lines[i + 2] == "    ");
    EXPECT_TRUE(substitute_block);
    EXPECT_TRUE(text.ends_with("    \r\n"));
}

// The orb options read as the main window's orb fields: the second character becomes the point.
TEST_F(CliCompare, OrbOptionsFollowTheOrbFieldRules)
{
    const auto run = [&](const char* orb_double, const char* orb_simple) {
        return run_cli({"compare", chart("ALBRECHT"), chart("WEIDNER"), "--analysis", "double", "--double",
                        orb_double, "--simple", orb_simple});
    };
    const CliRun reference = run("2,0", "0,5");
    ASSERT_EQ(reference.status, 0) << reference.err;
    for (const auto& [d, s] : {std::pair{"2.0", "0.5"}, {"25", "0,5"}, {"2x", "0;5"}, {"2", "0,5e0"}}) {
        const CliRun r = run(d, s);
        EXPECT_EQ(r.status, 0) << d << " " << s << ": " << r.err;
        EXPECT_EQ(r.out, reference.out) << d << " " << s;
    }
}
