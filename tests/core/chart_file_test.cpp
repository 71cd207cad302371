// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "app/chart_file.h"

using namespace duoskop;

namespace {

chart_record make_record(std::string name, std::string date = "01.01.1990",
                         std::string time = "00:00:00", std::string lon = "+010 00 00",
                         std::string lat = "+53 33 00")
{
    return {std::move(name), "Hans", std::move(date), std::move(time), "Hamburg",
            std::move(lon), std::move(lat)};
}

chart_record parse(const std::string& bytes)
{
    std::array<unsigned char, chart_record_size> raw{};
    std::memcpy(raw.data(), bytes.data(), chart_record_size);
    return read_chart_record(raw);
}

}  // namespace

TEST(ChartRecord, BytesLayoutAndRoundTrip)
{
    const chart_record r = make_record("Meier");
    const std::string bytes = chart_record_bytes(r);
    ASSERT_EQ(bytes.size(), 77u);
    EXPECT_EQ(bytes[0], 5);
    EXPECT_EQ(bytes.substr(1, 10), "Meier     ");
    EXPECT_EQ(bytes[11], 4);
    EXPECT_EQ(bytes.substr(12, 4), "Hans");
    EXPECT_EQ(bytes[22], 10);
    EXPECT_EQ(bytes.substr(23, 10), "01.01.1990");
    EXPECT_EQ(bytes.substr(34, 8), "00:00:00");
    EXPECT_EQ(bytes.substr(45, 7), "Hamburg");
    EXPECT_EQ(bytes.substr(56, 10), "+010 00 00");
    EXPECT_EQ(bytes.substr(67, 9), "+53 33 00");
    EXPECT_EQ(parse(bytes), r);
    // A longer field is cut to ten characters; the record keeps its size.
    const std::string long_name = chart_record_bytes(make_record("Meierhofstetter"));
    ASSERT_EQ(long_name.size(), 77u);
    EXPECT_EQ(parse(long_name).name, "Meierhofst");
}

TEST(ChartRecord, LengthBytesAboveTenCountAsTen)
{
    std::string bytes = chart_record_bytes(make_record("ABCDEFGHIJ"));
    for (int length : {11, 12, 100, 255}) {
        bytes[0] = static_cast<char>(length);
        bytes[11] = static_cast<char>(length);
        const chart_record r = parse(bytes);
        EXPECT_EQ(r.name, "ABCDEFGHIJ") << length;
        EXPECT_EQ(r.first_name, "Hans      ") << length;  // the unused bytes now count
        EXPECT_EQ(r.date, "01.01.1990") << length;
    }
    bytes[0] = 0;
    EXPECT_EQ(parse(bytes).name, "");
}

TEST(WerteAktual, ReadsTheFixedPositions)
{
    const BirthData b = werte_aktual(make_record("X", "13.10.1992", "06:30:45", "-008 30 00", "+53 33 00"));
    EXPECT_EQ(b.birth_day, 13);
    EXPECT_EQ(b.birth_month, 10);
    EXPECT_EQ(b.birth_year, 1992);
    EXPECT_DOUBLE_EQ(b.birth_time, 6.5125);
    EXPECT_DOUBLE_EQ(b.geo_longitude, -8.5);
    EXPECT_DOUBLE_EQ(b.geo_latitude, 53.55);
}

TEST(WerteAktual, LenientDates)
{
    const struct {
        const char* date;
        int day, month, year;
    } cases[] = {
        {"1.5.1960", 1, 0, 60},  // the fields stand at fixed positions
        {" 7. 3.  88", 7, 3, 88},
        {"ab.cd.19x0", 0, 0, 19},
        {"", 0, 0, 0},
        {"01.01.-500", 1, 1, -500},
        {"+1.+2.+300", 1, 2, 300},
    };
    for (const auto& c : cases) {
        const BirthData b = werte_aktual(make_record("X", c.date));
        EXPECT_EQ(b.birth_day, c.day) << c.date;
        EXPECT_EQ(b.birth_month, c.month) << c.date;
        EXPECT_EQ(b.birth_year, c.year) << c.date;
    }
}

TEST(WerteAktual, LenientTimesAndCoordinates)
{
    // Digits up to the first other character count, no digit gives 0, and each part is kept in one
    // byte: -1 hours become 255, 999 degrees 999 mod 256 = 231. Any character but '-' is a plus sign.
    const struct {
        const char* time;
        const char* longitude;
        const char* latitude;
        double BirthData::*field;
        double expected;
    } cases[] = {
        {"12:00:00", "0", "0", &BirthData::birth_time, 12.0},
        {"7h:3m:xx", "0", "0", &BirthData::birth_time, 7 + 3.0 / 60},
        {"12", "0", "0", &BirthData::birth_time, 12.0},
        {"", "0", "0", &BirthData::birth_time, 0.0},
        {"-1:00:00", "0", "0", &BirthData::birth_time, 255.0},
        {"0", "+008 30 00", "0", &BirthData::geo_longitude, 8.5},
        {"0", " 008 30 00", "0", &BirthData::geo_longitude, 8.5},
        {"0", "x008 30 00", "0", &BirthData::geo_longitude, 8.5},
        {"0", "+180 00 00", "+90 00 00", &BirthData::geo_longitude, 180.0},
        {"0", "+999 00 00", "0", &BirthData::geo_longitude, 231.0},
        {"0", "-", "0", &BirthData::geo_longitude, 0.0},
        {"0", "-009", "0", &BirthData::geo_longitude, -9.0},
        {"0", "0", "-53 33 00", &BirthData::geo_latitude, -53.55},
        {"0", "0", "+53", &BirthData::geo_latitude, 53.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(werte_aktual(make_record("X", "01.01.1990", c.time, c.longitude, c.latitude)).*c.field,
                         c.expected)
            << c.time << "|" << c.longitude << "|" << c.latitude;
}

TEST(NameCheck, ComparesUpToTheFirstDot)
{
    EXPECT_TRUE(name_check("MEIER.DAT", make_record("Meier")));
    EXPECT_TRUE(name_check("MEIER.DAT", make_record("Meierhof")));
    EXPECT_FALSE(name_check("MEIER.DAT", make_record("Meie")));
    EXPECT_TRUE(name_check("meier.dat", make_record("MEIER")));
    EXPECT_TRUE(name_check("MEIER", make_record("Schulz")));  // no dot: two empty texts
    EXPECT_TRUE(name_check(".dat", make_record("Schulz")));
    EXPECT_TRUE(name_check("A.B.DAT", make_record("Abel")));
    EXPECT_FALSE(name_check("A.B.DAT", make_record("Berta")));
    EXPECT_TRUE(name_check("M\xFCller.dat", make_record("M\xFCller")));
    EXPECT_TRUE(name_check("M\xFCLLER.dat", make_record("M\xFCller")));
    EXPECT_FALSE(name_check("m\xFCller.dat", make_record("M\xDCLLER")));  // umlauts are not folded
    // A record holds at most 10 characters of the name.
    const chart_record long_name = parse(chart_record_bytes(make_record("Meierhofstetter")));
    EXPECT_FALSE(name_check("Meierhofstetter.dat", long_name));
    EXPECT_TRUE(name_check("Meierhofst.dat", long_name));
}
