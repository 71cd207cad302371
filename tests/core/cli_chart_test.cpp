// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli chart: exit codes, the --raw line and the table, run as a separate program.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::CliRun;
using test_support::run_cli;
using test_support::TempDir;

namespace {

class CliChart : public ::testing::Test {
protected:
    static chart_record record(std::string name, std::string date, std::string time)
    {
        return {std::move(name), "Hans", std::move(date), std::move(time), "K\xF6ln", "+006 57 00",
                "+50 56 00"};
    }

    static std::string raw_line(const chart_record& r)
    {
        const Positions p = f_rechnen(werte_aktual(r));
        std::string line;
        char buf[64];
        for (std::size_t i = 0; i < p.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%.17g", p[i]);
            line += (i ? " " : "") + std::string(buf);
        }
        return line + "\n";
    }

    TempDir dir_;
};

}  // namespace

TEST_F(CliChart, WrongUsageExits2)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"chart"}, {"chart", "--raw"}, {"chart", "--bogus", "x.dat"},
          {"chart", "--drive-c"}, {"chart", "--raw", "--drive-c"}, {"nonsense"}, {}}) {
        const CliRun r = run_cli(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("Aufruf: duoskop-cli "), std::string::npos);
    }
}

TEST_F(CliChart, RawPrintsOneLineOf24ValuesPerFile)
{
    const chart_record a = record("Meier", "01.01.1990", "00:00:00");
    const chart_record b = record("Schulz", "01.06.1850", "10:00:00");
    const std::string pa = dir_.write("Meier.dat", chart_record_bytes(a));
    const std::string pb = dir_.write("Schulz.dat", chart_record_bytes(b));
    const CliRun r = run_cli({"chart", "--raw", pa, pb, pa});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, raw_line(a) + raw_line(b) + raw_line(a));
    // 24 values, one blank apart, each reading back as the computed double.
    std::istringstream line(r.out.substr(0, r.out.find('\n')));
    const Positions p = f_rechnen(werte_aktual(a));
    std::string field;
    std::size_t n = 0;
    while (std::getline(line, field, ' ')) {
        ASSERT_LT(n, 24u);
        double value = 0;
        std::from_chars(field.data(), field.data() + field.size(), value);
        EXPECT_EQ(value, p[n]) << n;
        ++n;
    }
    EXPECT_EQ(n, 24u);
}

TEST_F(CliChart, DriveCFindsRelativeNamesInAstroDaten)
{
    const chart_record a = record("Meier", "01.01.1990", "00:00:00");
    const chart_record b = record("Schulz", "01.06.1850", "10:00:00");
    const std::string pa = dir_.write("Meier.dat", chart_record_bytes(a));
    const TempDir drive;
    const std::string in_drive = drive.write("Astro/Daten/SCHULZ.DAT", chart_record_bytes(b));
    drive.write("Astro/Daten/Meier.dat", chart_record_bytes(b));  // never preferred to a path that exists

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"chart", "--drive-c", "/nonexistent", "--raw", pa}, 0, raw_line(a)},
        {{"chart", "--raw", pa, "--drive-c", drive.path().string()}, 0, raw_line(a)},
        {{"chart", "--raw", "--drive-c", drive.path().string(), "schulz.dat", pa}, 0, raw_line(b) + raw_line(a)},
        {{"chart", "--raw", "--drive-c", drive.path().string(), "Fehlt.dat"}, 1, ""},
        {{"chart", "--raw", "--drive-c", drive.path().string(), dir_.file("Schulz.dat")}, 1, ""},  // absolute
    };
    for (const Case& c : cases) {
        const CliRun r = run_cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_EQ(r.out, c.out) << c.args.back();
    }
    // The table names the file that was read.
    const CliRun r = run_cli({"chart", "--drive-c", drive.path().string(), "SCHULZ.DAT"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Datei    " + in_drive);
    // axes and compare look there too.
    const CliRun axes = run_cli({"axes", "schulz.dat", pa, "--drive-c", drive.path().string()});
    EXPECT_EQ(axes.status, 0) << axes.err;
}

TEST_F(CliChart, AFailingFileStopsWithExit1)
{
    const chart_record a = record("Meier", "01.01.1990", "00:00:00");
    const std::string good = dir_.write("Meier.dat", chart_record_bytes(a));
    const std::string shorter = dir_.write("Kurz.dat", chart_record_bytes(a).substr(0, 76));
    CliRun r = run_cli({"chart", "--raw", good, shorter, good});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, raw_line(a));  // no line for the failing file, none after it
    EXPECT_EQ(r.err, "Ladeversuch mit " + shorter + " ging daneben\n");

    r = run_cli({"chart", "--raw", dir_.file("Fehlt.dat"), good});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Datei nicht gefunden\n");

    const std::string wrong = dir_.write("M\u00FCller.dat", chart_record_bytes(record("Meier", "01.01.1990", "0")));
    r = run_cli({"chart", wrong});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "M\u00FCller.dat ist keine Horoskop-Datei.\n");

    r = run_cli({"chart", dir_.path().string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Dateizugriff verweigert\n");
}

TEST_F(CliChart, TableShowsFieldsAndPositionsInUtf8)
{
    const chart_record a = record("M\xFCller", "01.01.1990", "00:00:00");
    const std::string pa = dir_.write("M\u00FCller.dat", chart_record_bytes(a));
    const CliRun r = run_cli({"chart", pa});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("Name     M\u00FCller\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Zusatz   K\u00F6ln\n"), std::string::npos);
    EXPECT_NE(r.out.find("L\u00E4nge    +006 57 00\n"), std::string::npos);
    EXPECT_NE(r.out.find("Breite   +50 56 00\n"), std::string::npos);
    // GZ of 1990: 266.7444 = 26 deg 45 min in Sagittarius, 266.7444 - 247.5 = 19 deg 15 min on the dial.
    EXPECT_NE(r.out.find("GZ   26\u00B045' SCH   19\u00B015'\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("WI   00\u00B000' WID   00\u00B000'\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Du "), std::string::npos);
}

// The commands that draw nothing load no Qt library: the dynamic loader's report of the files it
// opens (LD_DEBUG=files, on stderr) names libc but no libQt. Help of the drawing command too.
TEST(CliLibraries, CommandsThatDrawNothingLoadNoQt)
{
    const std::vector<std::vector<std::string>> calls = {
        {"chart", "WEIDNER.dat"},
        {"chart", "--raw", "WEIDNER.dat", "HOLLMANN.dat"},
        {"places", "Wien"},
        {"--help"},
        {"dial", "--help"},
    };
    for (const auto& args : calls) {
        const CliRun r = run_cli(args, "LD_DEBUG=files");
        SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
        EXPECT_EQ(r.status, 0) << r.err.substr(r.err.size() - std::min<std::size_t>(r.err.size(), 400));
        EXPECT_NE(r.err.find("libc.so"), std::string::npos) << "the loader reported nothing";
        EXPECT_EQ(r.err.find("libQt"), std::string::npos);
        EXPECT_EQ(r.err.find("libicu"), std::string::npos);
    }
}
