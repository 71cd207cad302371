// SPDX-License-Identifier: GPL-3.0-or-later
// duoskop-cli new-chart with a local time: zone or place, the switches, the unknown time, and
// the combinations of options it refuses.
#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <cstring>

#include "app/chart_file.h"
#include "tests/core/test_support.h"

using namespace duoskop;
using test_support::run_cli;
using test_support::TempDir;

namespace {

class NewChartLocal : public ::testing::Test {
protected:
    test_support::CliRun make(std::vector<std::string> more)
    {
        std::vector<std::string> args = {"new-chart", dir.file("Meier.dat"), "--name", "Meier", "--first-name",
                                         "Hans"};
        args.insert(args.end(), more.begin(), more.end());
        return run_cli(args);
    }
    chart_record read_back()
    {
        const std::string bytes = dir.read("Meier.dat");
        std::array<unsigned char, chart_record_size> raw{};
        std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
        return read_chart_record(raw);
    }
    TempDir dir;
};

}  // namespace

TEST_F(NewChartLocal, WritesUniversalTimeAndSaysWhatItConverted)
{
    const struct {
        std::vector<std::string> args;
        chart_record record;
        const char* line;
    } cases[] = {
        {{"--date", "1.6.1945", "--local-time", "12:00", "--place", "Berlin", "--country", "D"},
         {"Meier", "Hans", "01.06.1945", "09:00:00", "Berlin", "+013 24 38", "+52 31 28"},
         "Ortszeit 01.06.1945 12:00:00 CEMT (UTC+03:00) = Weltzeit 01.06.1945 09:00:00, L\xC3\xA4nge +013 24 38, "
         "Breite +52 31 28\n"},
        {{"--date", "30.01.1958", "--local-time", "22:50", "--place", "Wien", "--extra", "Wien"},
         {"Meier", "Hans", "30.01.1958", "21:50:00", "Wien", "+016 22 20", "+48 12 31"},
         "Ortszeit 30.01.1958 22:50:00 CET (UTC+01:00) = Weltzeit 30.01.1958 21:50:00, L\xC3\xA4nge +016 22 20, "
         "Breite +48 12 31\n"},
        {{"--date", "1.1.1975", "--local-time", "0:30:15", "--zone", "Europe/Berlin", "--longitude", "8.5",
          "--latitude", "53.55"},
         {"Meier", "Hans", "31.12.1974", "23:30:15", "", "+008 30 00", "+53 33 00"},
         "Ortszeit 01.01.1975 00:30:15 CET (UTC+01:00) = Weltzeit 31.12.1974 23:30:15, L\xC3\xA4nge +008 30 00, "
         "Breite +53 33 00\n"},
        {{"--date", "1.6.1890", "--local-time", "12:00", "--zone", "LMT", "--place", "Muenchen", "--longitude",
          "11.5"},
         {"Meier", "Hans", "01.06.1890", "11:14:00", "Muenchen", "+011 30 00", "+48 08 15"},
         "Ortszeit 01.06.1890 12:00:00 LMT (L\xC3\xA4nge +011 30 00, UTC+00:46) = Weltzeit 01.06.1890 11:14:00, L\xC3\xA4nge +011 30 00, "
         "Breite +48 08 15\n"},
        {{"--date", "28.9.1980", "--local-time", "2:30", "--zone", "Europe/Berlin", "--ambiguous", "later",
          "--longitude", "13", "--latitude", "52"},
         {"Meier", "Hans", "28.09.1980", "01:30:00", "", "+013 00 00", "+52 00 00"},
         "Ortszeit 28.09.1980 02:30:00 CET (UTC+01:00) = Weltzeit 28.09.1980 01:30:00, L\xC3\xA4nge +013 00 00, "
         "Breite +52 00 00\n"},
        {{"--date", "2.3.1960", "--unknown-time", "--place", "Zuerich"},
         {"Meier", "Hans", "02.03.1960", "12:00:00", "Zuerich", "+008 33 00", "+47 22 00"},  // as spelt
         ""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(dir.file("Meier.dat"));
        const auto run = make(c.args);
        ASSERT_EQ(run.status, 0) << c.args[1] << ": " << run.err;
        EXPECT_EQ(read_back(), c.record) << c.args[1];
        // First the place taken, when one was looked up, then what was converted.
        std::string out = run.out;
        const bool place = std::find(c.args.begin(), c.args.end(), "--place") != c.args.end();
        EXPECT_EQ(out.rfind("Ort: ", 0) == 0, place) << out;
        if (place) out.erase(0, out.find('\n') + 1);
        EXPECT_EQ(out, c.line) << c.args[1];
    }
}

TEST_F(NewChartLocal, RefusesSwitchesAndWrongCombinations)
{
    const auto gap = make({"--date", "6.4.1980", "--local-time", "2:30", "--zone", "Europe/Berlin", "--longitude",
                           "13", "--latitude", "52"});
    EXPECT_EQ(gap.status, 1);
    EXPECT_NE(gap.err.find("gibt es in Europe/Berlin nicht: am 06.04.1980 wurde die Uhr um 02:00:00"),
              std::string::npos)
        << gap.err;
    const auto twice = make({"--date", "28.9.1980", "--local-time", "2:30", "--place", "Berlin"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("zweimal: fr\xC3\xBCher als CEST"), std::string::npos) << twice.err;
    EXPECT_EQ(make({"--date", "1.1.1980", "--local-time", "2:30", "--place", "Xyzzyq"}).status, 1);
    EXPECT_EQ(make({"--date", "1.1.1980", "--local-time", "2:30", "--zone", "Mars/Olympus", "--longitude", "1",
                    "--latitude", "1"}).status,
              1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Meier.dat")));

    const std::vector<std::string> usage_errors[] = {
        {"--date", "1.1.1980", "--place", "Berlin"},                                          // no time at all
        {"--date", "1.1.1980", "--time", "10:00", "--unknown-time", "--place", "Berlin"},      // two times
        {"--date", "1.1.1980", "--local-time", "10:00", "--longitude", "1", "--latitude", "1"},  // no zone
        {"--date", "1.1.1980", "--local-time", "10:00", "--place", "Berlin", "--ambiguous", "first"},
        {"--date", "1.1.1980", "--time", "10:00", "--country", "D", "--longitude", "1", "--latitude", "1"},
        // --time is universal time: a zone beside it (or beside an unknown time) would be ignored.
        {"--date", "1.1.1980", "--time", "12:00:00", "--zone", "Europe/Berlin", "--longitude", "1", "--latitude", "1"},
        {"--date", "1.1.1980", "--time", "12:00:00", "--zone", "UTC", "--place", "Berlin"},
        {"--date", "1.1.1980", "--unknown-time", "--zone", "Europe/Berlin", "--place", "Berlin"},
    };
    for (const auto& args : usage_errors) {
        const auto run = make(args);
        EXPECT_EQ(run.status, 2) << args[2] << " " << args[4];
        if (std::find(args.begin(), args.end(), "--zone") != args.end()) {
            EXPECT_NE(run.err.find("--zone geh\xC3\xB6rt zu --local-time"), std::string::npos) << run.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("Meier.dat")));
    // --place beside --time stays: it gives the coordinates.
    const auto placed = make({"--date", "1.1.1980", "--time", "12:00:00", "--place", "Berlin", "--country", "D"});
    EXPECT_EQ(placed.status, 0) << placed.err;
    EXPECT_EQ(read_back().time, "12:00:00");
}
