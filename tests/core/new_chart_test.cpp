// SPDX-License-Identifier: GPL-3.0-or-later
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

int cli(const std::vector<std::string>& args) { return run_cli(args).status; }

class NewChart : public ::testing::Test {
protected:
    /// new-chart FILE with the given fields; any field may be replaced through `extra_args`.
    int make(const std::string& file, std::vector<std::string> fields = {})
    {
        std::vector<std::string> args = {"new-chart", (dir.path() / file).string()};
        const std::vector<std::string> defaults = {"--name", "Meier", "--first-name", "Hans", "--date",
                                                   "01.05.1960", "--time", "06:30:45", "--longitude",
                                                   "+008 30 00", "--latitude", "+53 33 00"};
        for (std::size_t i = 0; i < defaults.size(); i += 2) {
            auto given = std::find(fields.begin(), fields.end(), defaults[i]);
            args.push_back(defaults[i]);
            args.push_back(given != fields.end() && given + 1 != fields.end() ? *(given + 1) : defaults[i + 1]);
            if (given != fields.end()) fields.erase(given, given + 2);
        }
        args.insert(args.end(), fields.begin(), fields.end());
        return cli(args);
    }
    chart_record read_back(const std::string& file)
    {
        const std::string bytes = dir.read(file);
        EXPECT_EQ(bytes.size(), chart_record_size);
        std::array<unsigned char, chart_record_size> raw{};
        std::memcpy(raw.data(), bytes.data(), std::min(bytes.size(), raw.size()));
        return read_chart_record(raw);
    }
    bool exists(const std::string& file) { return std::filesystem::exists(dir.path() / file); }

    TempDir dir;
};

}  // namespace

TEST_F(NewChart, WritesARecordThatLoadsBackToTheSameFields)
{
    ASSERT_EQ(make("MEIER.DAT", {"--extra", "K\xC3\xB6ln"}), 0);  // UTF-8 argument
    const chart_record r = read_back("MEIER.DAT");
    EXPECT_EQ(r, (chart_record{"Meier", "Hans", "01.05.1960", "06:30:45", "K\xF6ln", "+008 30 00", "+53 33 00"}));
    const BirthData b = werte_aktual(r);
    EXPECT_EQ(b.birth_year, 1960);
    EXPECT_DOUBLE_EQ(b.birth_time, 6.5125);
    EXPECT_DOUBLE_EQ(b.geo_longitude, 8.5);
    EXPECT_DOUBLE_EQ(b.geo_latitude, 53.55);
}

TEST_F(NewChart, DecimalAndShortFormsAreWrittenInTheFixedPositions)
{
    ASSERT_EQ(make("M\xC3\xBCller.dat", {"--name", "M\xC3\xBCller", "--date", "1.5.1888", "--time", "12:00",
                                        "--longitude", "-58.45", "--latitude", "-34,6"}),
              0);
    const chart_record r = read_back("M\xC3\xBCller.dat");
    EXPECT_EQ(r.name, "M\xFCller");
    EXPECT_EQ(r.date, "01.05.1888");
    EXPECT_EQ(r.time, "12:00:00");
    EXPECT_EQ(r.longitude_text, "-058 27 00");
    EXPECT_EQ(r.latitude_text, "-34 36 00");
    EXPECT_DOUBLE_EQ(werte_aktual(r).geo_longitude, -58.45);

    ASSERT_EQ(make("A.dat", {"--name", "A", "--longitude", "-0.25", "--latitude", "0"}), 0);
    EXPECT_EQ(read_back("A.dat").longitude_text, "-000 15 00");  // the sign alone carries "west"
    EXPECT_EQ(read_back("A.dat").latitude_text, "+00 00 00");
}

TEST_F(NewChart, RefusesBadFieldsWithoutWriting)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--name", "Mei"},                       // shorter than the file name before its dot
        {"--first-name", "Hans-Joachim"},        // 12 characters
        {"--extra", "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC" "12345"},
        {"--name", "Meier\xE2\x80\x8B"},         // no Windows-1252 form
        {"--date", "31.04.2001"}, {"--date", "29.02.1900"}, {"--date", "01.13.1960"}, {"--date", "1960-05-01"},
        {"--time", "24:00:00"}, {"--time", "12:60:00"}, {"--time", "12.00.00"},
        {"--longitude", "180.5"}, {"--longitude", "+008 60 00"}, {"--longitude", "8 30 00 1"},
        {"--longitude", "ost"}, {"--latitude", "+91 00 00"}, {"--latitude", "-90.01"},
    };
    for (const auto& fields : bad) {
        EXPECT_EQ(make("MEIER.DAT", fields), 1) << fields[1];
        EXPECT_FALSE(exists("MEIER.DAT")) << fields[1];
    }
    EXPECT_EQ(make("MUELLER.DAT", {"--name", "M\xC3\xBCller"}), 1);  // umlauts are not folded
    EXPECT_EQ(make("MEIER.DAT", {"--date", "29.02.2000", "--longitude", "-180", "--latitude", "90"}), 0);
}

TEST_F(NewChart, KeepsAnExistingFileUnlessForced)
{
    dir.write("MEIER.DAT", "alt");
    EXPECT_EQ(make("MEIER.DAT"), 1);
    EXPECT_EQ(dir.read("MEIER.DAT"), "alt");
    EXPECT_EQ(make("MEIER.DAT", {"--force"}), 0);
    EXPECT_EQ(read_back("MEIER.DAT").name, "Meier");
}

TEST_F(NewChart, AFailedWriteLeavesNoTornFile)
{
    dir.write("MEIER.DAT", "alt");
    {
        const test_support::FileSizeLimit disk_full(0);  // holds for the program run below
        EXPECT_EQ(make("MEIER.DAT", {"--force"}), 1);
        EXPECT_EQ(make("meier.dat"), 1);
    }
    EXPECT_EQ(dir.read("MEIER.DAT"), "alt");
    EXPECT_FALSE(exists("meier.dat"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(NewChart, WrongUsageIsStatusTwo)
{
    EXPECT_EQ(cli({"new-chart", (dir.path() / "MEIER.DAT").string(), "--name", "Meier"}), 2);
    EXPECT_EQ(make("MEIER.DAT", {"--colour", "rot"}), 2);
    EXPECT_EQ(make("MEIER.DAT", {"second-file"}), 2);
    EXPECT_FALSE(exists("MEIER.DAT"));
}
