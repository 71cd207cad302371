// SPDX-License-Identifier: GPL-3.0-or-later
// The one option reader of duoskop-cli: "--", flags, values, repeated options, help anywhere;
// and the commands' wrong calls through it.
#include <gtest/gtest.h>

#include "cli/options.h"
#include "tests/core/test_support.h"

using duoskop::cli::Args;
using duoskop::cli::help_or_version;
using duoskop::cli::OptionRule;
using duoskop::cli::parse_orb;
using duoskop::cli::read_options;
using duoskop::cli::ReadOptions;
using duoskop::cli::Request;
using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;
using duoskop::test_support::TempDir;

namespace {

constexpr OptionRule known[] = {
    {"--raw"}, {"--drive-c", 1}, {"--set", 1, false}, {"--export-texts", 2}, {"--reset", 0, false}};

/// The options read, as "name=v1,v2" in order, and the positionals, as "|p1|p2".
std::string shown(const ReadOptions& r)
{
    std::string text;
    for (const ReadOptions::Given& g : r.given) {
        text += std::string(g.name);
        for (std::size_t k = 0; k < g.values.size(); ++k) text += (k == 0 ? "=" : ",") + g.values[k];
        text += ' ';
    }
    for (const std::string& p : r.positionals) text += "|" + p;
    return text;
}

}  // namespace

TEST(CliOptions, ReadsByTheTable)
{
    const struct {
        Args args;
        std::string read;     // shown() when the call reads
        std::string problem;  // else the reason
    } cases[] = {
        {{}, "", ""},
        {{"a.dat", "--raw", "b.dat"}, "--raw |a.dat|b.dat", ""},
        {{"--drive-c", "C"}, "--drive-c=C ", ""},
        // A value is taken whatever it looks like.
        {{"--drive-c", "-8.5", "--set", "--raw"}, "--drive-c=-8.5 --set=--raw ", ""},
        {{"--export-texts", "alle", "out.txt", "x"}, "--export-texts=alle,out.txt |x", ""},
        // "--" ends the options; "-" alone is an argument.
        {{"--raw", "--", "--raw", "--bogus", "--"}, "--raw |--raw|--bogus|--", ""},
        {{"-", "--raw"}, "--raw |-", ""},
        // A repeatable option is kept each time (the command takes the last).
        {{"--drive-c", "A", "--drive-c", "B", "--raw", "--raw"}, "--drive-c=A --drive-c=B --raw --raw ", ""},
        {{"--bogus"}, "", "unbekannte Option --bogus"},
        {{"-x", "a.dat"}, "", "unbekannte Option -x"},
        {{"a.dat", "--drive-c"}, "", "--drive-c braucht einen Wert"},
        {{"--export-texts", "alle"}, "", "--export-texts braucht zwei Werte"},
        {{"--set", "A", "--set", "B"}, "", "--set darf nur einmal stehen"},
        {{"--reset", "--reset"}, "", "--reset darf nur einmal stehen"},
    };
    for (const auto& c : cases) {
        const ReadOptions r = read_options(c.args, known);
        EXPECT_EQ(r.problem, c.problem) << shown(r);
        if (c.problem.empty()) {
            EXPECT_EQ(shown(r), c.read);
        }
    }
    const ReadOptions r = read_options({"--drive-c", "A", "--set", "S", "--drive-c", "B"}, known);
    EXPECT_EQ(r.value("--drive-c"), "B");
    EXPECT_EQ(r.each("--drive-c"), (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(r.value("--raw"));
    EXPECT_FALSE(r.has("--raw"));
}

TEST(CliOptions, HelpAndVersionWhereAnOptionStandsNeverAsAValue)
{
    const struct {
        Args args;
        Request request;
    } cases[] = {
        {{"a.dat", "-h"}, Request::help},
        {{"--raw", "--help"}, Request::help},                 // a flag takes no value
        {{"--drive-c", "--help"}, Request::none},              // the value of --drive-c
        {{"--drive-c", "-h", "--help"}, Request::help},
        {{"--export-texts", "-h", "--version"}, Request::none},  // two values
        {{"--export-texts", "alle", "x", "--version"}, Request::version},
        {{"--bogus", "--help"}, Request::help},                // an unknown option takes none
        {{"--version", "--help"}, Request::version},
        {{"--", "--help"}, Request::none},
        {{"-help", "--versions"}, Request::none},
    };
    for (const auto& c : cases) EXPECT_EQ(help_or_version(c.args, known), c.request) << c.args.front();
    // As a whole call: "-h" is a first name.
    const TempDir dir;
    const CliRun made = run_cli({"new-chart", dir.file("MEIER.DAT"), "--name", "Meier", "--first-name", "-h",
                                 "--date", "01.05.1960", "--time", "06:30:45", "--longitude", "8", "--latitude",
                                 "53"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(dir.read("MEIER.DAT").substr(11, 3), std::string("\x02-h"));
}

TEST(CliOptions, OrbsReadAsTheOrbFields)
{
    EXPECT_EQ(parse_orb("1,5"), 1.5);
    EXPECT_EQ(parse_orb("1.5"), 1.5);
    EXPECT_EQ(parse_orb("25"), 2.0);
    EXPECT_FALSE(parse_orb("10,5"));
    EXPECT_FALSE(parse_orb(""));
}

// Every command answers a wrong call the same way: its call on stderr, exit 2.
TEST(CliOptions, EveryCommandRefusesWrongOptions)
{
    const Args cases[] = {
        {"chart", "--bogus", "a.dat"},
        {"axes", "a.dat", "b.dat", "--json"},
        {"compare", "a.dat", "b.dat", "--analysis", "solar", "--double", "1", "--simple", "0,5", "--export-texts", "alle"},
        {"compare", "a.dat", "b.dat", "--analysis", "solar", "--double", "10,5", "--simple", "0,5"},
        {"new-chart", "X.dat", "--name", "X", "--name", "Y", "--first-name", "V", "--date", "01.01.1990",
         "--unknown-time", "--longitude", "8", "--latitude", "50"},
        {"places", "Wien", "--limit"},
        {"places", "Wien", "Graz"},
        {"import", "a.csv", "--to", "A", "--to", "B"},
        {"export", "a.dat", "--aaf", "x.aaf", "--aaf", "y.aaf"},
        {"rank", "a.dat", "b.dat", "--double", "1", "--simple", "x"},
        {"texts", "versions", "--bogus", "1"},
        {"drive", "--set", "A", "--reset"},
        {"drive", "--reset", "--reset"},
        {"drive", "extra"},
    };
    for (const Args& c : cases) {
        const CliRun r = run_cli(c);
        EXPECT_EQ(r.status, 2) << c[0] << " " << r.err;
        EXPECT_EQ(r.out, "") << c[0];
        EXPECT_TRUE(r.err.starts_with("Aufruf: duoskop-cli " + c[0] + " ")) << r.err;
    }
}
