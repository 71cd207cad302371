// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli --help, --version and COMMAND --help: German texts on stdout, exit 0; wrong calls
// show the calls on stderr with exit 2.
#include <gtest/gtest.h>

#include "tests/core/test_support.h"

using duoskop::test_support::CliRun;
using duoskop::test_support::run_cli;

TEST(CliHelp, HelpAndVersionGoToStdoutWithExit0)
{
    const struct {
        std::vector<std::string> args;
        std::string begins;      // stdout starts with this
        std::string contains;    // and holds this
    } cases[] = {
        {{"--help"}, "duoskop-cli: Duoskop im Terminal", "  compare     f\u00FChrt einen der f\u00FCnf Vergleiche aus\n"},
        {{"-h"}, "duoskop-cli: Duoskop im Terminal", "R\u00FCckgabewert: 0 erledigt"},
        {{"--version"}, "duoskop-cli 1.", ""},
        {{"compare", "--version"}, "duoskop-cli 1.", ""},
        {{"chart", "--help"}, "Aufruf: duoskop-cli chart [--raw]", "  --raw  "},
        {{"axes", "--help"}, "Aufruf: duoskop-cli axes P1 P2", "  --report DATEI"},
        {{"compare", "a.dat", "--help"}, "Aufruf: duoskop-cli compare P1 P2", "  --export-texts bilder|alle DATEI\n"},
        {{"new-chart", "-h"}, "Aufruf: duoskop-cli new-chart DATEI", "  --force "},
    };
    for (const auto& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, 0) << c.args[0];
        EXPECT_EQ(r.err, "") << c.args[0];
        EXPECT_TRUE(r.out.starts_with(c.begins)) << r.out;
        EXPECT_NE(r.out.find(c.contains), std::string::npos) << r.out;
    }
}

TEST(CliHelp, WrongCallsShowTheCallsOnStderrWithExit2)
{
    const struct {
        std::vector<std::string> args;
        std::string first_line;
    } cases[] = {
        {{}, "Aufruf: duoskop-cli chart "},
        {{"vergleiche"}, "Aufruf: duoskop-cli chart "},
        {{"--version", "x"}, "Aufruf: duoskop-cli chart "},
        {{"chart"}, "Aufruf: duoskop-cli chart "},
        {{"axes", "a.dat"}, "Aufruf: duoskop-cli axes "},
        {{"compare", "a.dat", "b.dat"}, "Aufruf: duoskop-cli compare "},
        {{"new-chart", "X.dat"}, "Aufruf: duoskop-cli new-chart "},
        // After "--" a --help is a file name, not a request for help.
        {{"chart", "--", "--help", "--bogus"}, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = run_cli(c.args);
        if (c.first_line.empty()) {
            EXPECT_EQ(r.status, 1) << r.err;  // the file "--help" does not exist
            continue;
        }
        EXPECT_EQ(r.status, 2) << c.first_line;
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.starts_with(c.first_line)) << r.err;
        EXPECT_NE(r.err.find("\nHilfe: duoskop-cli "), std::string::npos) << r.err;
    }
}
