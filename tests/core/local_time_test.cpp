// SPDX-License-Identifier: GPL-3.0-or-later
// Local time to universal time: the historical rules that conversions by the computer's current
// rules get wrong, the switches, fixed offsets, local mean time and the Julian day.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "birth/chart_input.h"
#include "birth/local_time.h"

using namespace duoskop;

namespace {

ZoneRule zone(std::string_view text)
{
    std::string error;
    const auto z = parse_zone(text, error);
    EXPECT_TRUE(z) << text << ": " << error;
    return z.value_or(ZoneRule{});
}

}  // namespace

TEST(LocalTime, HistoricalRulesOfTheZoneDatabase)
{
    const struct {
        const char* what;
        CivilTime local;
        const char* zone;
        double longitude;
        CivilTime ut;
        const char* abbreviation;
        int offset;
    } cases[] = {
        {"Berlin, double summer time 1945", {1945, 6, 1, 12, 0, 0}, "Europe/Berlin", 0, {1945, 6, 1, 9, 0, 0}, "CEMT", 3 * 3600},
        {"Berlin 1890, its own mean time", {1890, 6, 1, 12, 0, 0}, "Europe/Berlin", 13.3667, {1890, 6, 1, 11, 6, 32}, "LMT", 3208},
        {"Aachen 1880, not Berlin's mean time", {1880, 6, 1, 12, 0, 0}, "Europe/Berlin", 6.0834, {1880, 6, 1, 11, 35, 40}, "LMT", 1460},
        {"Vienna 1958, no summer time", {1958, 1, 30, 22, 50, 0}, "Europe/Vienna", 0, {1958, 1, 30, 21, 50, 0}, "CET", 3600},
        {"Sao Paulo 1975", {1975, 7, 23, 12, 0, 0}, "America/Sao_Paulo", 0, {1975, 7, 23, 15, 0, 0}, "-03", -3 * 3600},
        {"Berlin 1980 summer", {1980, 7, 1, 12, 0, 0}, "Europe/Berlin", 0, {1980, 7, 1, 10, 0, 0}, "CEST", 7200},
        {"previous universal date", {1975, 1, 1, 0, 30, 0}, "Europe/Berlin", 0, {1974, 12, 31, 23, 30, 0}, "CET", 3600},
        {"next universal date", {1975, 12, 31, 22, 30, 0}, "America/New_York", 0, {1976, 1, 1, 3, 30, 0}, "EST", -5 * 3600},
        {"fixed offset", {2000, 3, 1, 0, 15, 0}, "UTC+01:00", 0, {2000, 2, 29, 23, 15, 0}, "UTC+01:00", 3600},
        {"fixed west offset", {2000, 1, 1, 12, 0, 0}, "UTC-03:30", 0, {2000, 1, 1, 15, 30, 0}, "UTC-03:30", -12600},
        {"universal time", {1800, 1, 1, 0, 0, 0}, "UTC", 0, {1800, 1, 1, 0, 0, 0}, "UTC+00:00", 0},
        {"local mean time, east", {1839, 1, 19, 1, 0, 0}, "LMT", 5.45, {1839, 1, 19, 0, 38, 12}, "LMT", 1308},
        {"local mean time, west", {1900, 1, 1, 12, 0, 0}, "lmt", -58.45, {1900, 1, 1, 15, 53, 48}, "LMT", -14028},
    };
    for (const auto& c : cases) {
        const Conversion r = to_universal(c.local, zone(c.zone), c.longitude);
        ASSERT_TRUE(r.time) << c.what << ": " << r.error;
        EXPECT_EQ(r.time->ut, c.ut) << c.what << ": " << civil_time_text(r.time->ut);
        EXPECT_EQ(r.time->abbreviation, c.abbreviation) << c.what;
        EXPECT_EQ(r.time->offset_seconds, c.offset) << c.what;
    }
    EXPECT_EQ(offset_text(3208), "UTC+00:53:28");
    EXPECT_EQ(offset_text(-12600), "UTC-03:30");
}

TEST(LocalTime, SkippedHourIsRefusedNamingTheSwitch)
{
    const Conversion r = to_universal({1980, 4, 6, 2, 30, 0}, zone("Europe/Berlin"), 0, Ambiguous::earlier);
    EXPECT_FALSE(r.time);
    EXPECT_EQ(r.error,
              "Die Ortszeit 06.04.1980 02:30:00 gibt es in Europe/Berlin nicht: am 06.04.1980 wurde die Uhr um "
              "02:00:00 CET (UTC+01:00) auf 03:00:00 CEST (UTC+02:00) gestellt.");
}

TEST(LocalTime, RepeatedHourNeedsAChoice)
{
    const CivilTime autumn{1980, 9, 28, 2, 30, 0};
    const Conversion refused = to_universal(autumn, zone("Europe/Berlin"), 0);
    EXPECT_FALSE(refused.time);
    EXPECT_EQ(refused.error,
              "Die Ortszeit 28.09.1980 02:30:00 gibt es in Europe/Berlin zweimal: fr\xFCher als CEST (UTC+02:00) = "
              "28.09.1980 00:30:00 UT, sp\xE4ter als CET (UTC+01:00) = 28.09.1980 01:30:00 UT. "
              "Bitte fr\xFCher oder sp\xE4ter w\xE4hlen.");
    const Conversion earlier = to_universal(autumn, zone("Europe/Berlin"), 0, Ambiguous::earlier);
    const Conversion later = to_universal(autumn, zone("Europe/Berlin"), 0, Ambiguous::later);
    ASSERT_TRUE(earlier.time && later.time);
    EXPECT_EQ(earlier.time->ut, (CivilTime{1980, 9, 28, 0, 30, 0}));
    EXPECT_EQ(earlier.time->abbreviation, "CEST");
    EXPECT_EQ(later.time->ut, (CivilTime{1980, 9, 28, 1, 30, 0}));
    EXPECT_EQ(later.time->abbreviation, "CET");
}

TEST(LocalTime, TheSwitchFromMeanTimeToZoneTimeIsTheZonesInstantAtThePlace)
{
    // Germany took zone time at 1893-04-01 00:00 Berlin mean time, 1893-03-31 23:06:32 UT. At
    // Aachen (6.0834 E, UTC+00:24:20) the clocks then went from 23:30:52 to 00:06:32; at 20 E
    // (UTC+01:20) back from 00:26:32 to 00:06:32, so those clock times came twice.
    const ZoneRule berlin = zone("Europe/Berlin");
    const struct {
        const char* what;
        CivilTime local;
        double longitude;
        std::optional<CivilTime> earlier, later;  // nothing: skipped
        const char* abbreviation;
    } cases[] = {
        {"Aachen before the switch", {1893, 3, 31, 23, 20, 0}, 6.0834, CivilTime{1893, 3, 31, 22, 55, 40}, {}, "LMT"},
        {"Aachen skipped", {1893, 3, 31, 23, 45, 0}, 6.0834, {}, {}, ""},
        {"Aachen skipped, past midnight", {1893, 4, 1, 0, 3, 0}, 6.0834, {}, {}, ""},
        {"Aachen after the switch", {1893, 4, 1, 0, 10, 0}, 6.0834, CivilTime{1893, 3, 31, 23, 10, 0}, {}, "CET"},
        {"20 E twice", {1893, 4, 1, 0, 15, 0}, 20.0, CivilTime{1893, 3, 31, 22, 55, 0}, CivilTime{1893, 3, 31, 23, 15, 0}, ""},
        {"20 E after the repeat", {1893, 4, 1, 0, 30, 0}, 20.0, CivilTime{1893, 3, 31, 23, 30, 0}, {}, "CET"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Conversion refused = to_universal(c.local, berlin, c.longitude);
        const Conversion earlier = to_universal(c.local, berlin, c.longitude, Ambiguous::earlier);
        const Conversion later = to_universal(c.local, berlin, c.longitude, Ambiguous::later);
        if (!c.earlier) {
            EXPECT_FALSE(earlier.time || later.time || refused.time);
            EXPECT_NE(refused.error.find("nicht: am 31.03.1893 wurde die Uhr um 23:30:52 LMT (UTC+00:24:20) auf "
                                         "00:06:32 CET (UTC+01:00) gestellt."),
                      std::string::npos)
                << refused.error;
            continue;
        }
        ASSERT_TRUE(earlier.time && later.time);
        EXPECT_EQ(earlier.time->ut, *c.earlier) << civil_time_text(earlier.time->ut);
        EXPECT_EQ(later.time->ut, c.later.value_or(*c.earlier)) << civil_time_text(later.time->ut);
        if (c.later) {
            EXPECT_FALSE(refused.time);
            EXPECT_NE(refused.error.find("zweimal: fr\xFCher als LMT (UTC+01:20) = 31.03.1893 22:55:00 UT, "
                                         "sp\xE4ter als CET (UTC+01:00) = 31.03.1893 23:15:00 UT."),
                      std::string::npos)
                << refused.error;
        } else {
            ASSERT_TRUE(refused.time) << refused.error;
            EXPECT_EQ(refused.time->abbreviation, c.abbreviation);
        }
    }
}

TEST(LocalTime, ZoneTextsAndRefusals)
{
    const struct {
        const char* text;
        ZoneRule::Kind kind;
        const char* name;
        int offset;
    } good[] = {
        {"Europe/Berlin", ZoneRule::Kind::iana, "Europe/Berlin", 0},
        {" UTC+1 ", ZoneRule::Kind::fixed, "UTC+01:00", 3600},
        {"utc-0330", ZoneRule::Kind::fixed, "UTC-03:30", -12600},
        {"GMT+05:45", ZoneRule::Kind::fixed, "UTC+05:45", 20700},
        {"UT", ZoneRule::Kind::fixed, "UTC+00:00", 0},
        {"LMT", ZoneRule::Kind::lmt, "LMT", 0},
    };
    for (const auto& g : good) EXPECT_EQ(zone(g.text), (ZoneRule{g.kind, g.name, g.offset})) << g.text;
    for (const char* bad : {"", "Europe/Nowhere", "UTC+15", "UTC+1:5", "UTC+01:60", "UTC*1", "+01:00", "../etc/passwd"}) {
        std::string error;
        EXPECT_FALSE(parse_zone(bad, error)) << bad;
        EXPECT_EQ(error, "Die Zeitzone \"" + std::string(bad) +
                             "\" ist unbekannt (erwartet: ein Name wie Europe/Berlin, ein Versatz wie UTC+01:00 oder LMT).");
    }
    const Conversion no_day = to_universal({1981, 2, 29, 12, 0, 0}, zone("UTC"), 0);
    EXPECT_EQ(no_day.error, "Die Ortszeit 29.02.1981 12:00:00 ist kein g\xFCltiges Datum mit Uhrzeit.");
    // The system's zone files end in 2037: later years are refused, not read as standard time.
    EXPECT_FALSE(to_universal({2040, 7, 1, 12, 0, 0}, zone("Europe/Berlin"), 0).time);
    EXPECT_TRUE(to_universal({2040, 7, 1, 12, 0, 0}, zone("UTC+02:00"), 0).time);
}

TEST(LocalTime, JulianDayBothWays)
{
    const struct {
        CivilTime ut;
        double jd;
    } cases[] = {
        {{2000, 1, 1, 12, 0, 0}, 2451545.0},
        {{1970, 1, 1, 0, 0, 0}, 2440587.5},
        {{1839, 1, 19, 0, 38, 12}, 2392758.526528},
        {{1, 1, 1, 0, 0, 0}, 1721423.5},                 // Julian calendar before 1582
        {{1500, 2, 29, 12, 0, 0}, 2268992.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(julian_day(c.ut), c.jd, 1e-6) << civil_time_text(c.ut);
        EXPECT_EQ(from_julian_day(c.jd), std::optional<CivilTime>(c.ut)) << c.jd;
    }
    for (double bad : {0.0, -1e300, 1e300, 1721423.4, 5373484.5, std::nan("")}) EXPECT_FALSE(from_julian_day(bad));
}

TEST(ChartInput, TextFieldsDatesAndCoordinates)
{
    const struct {
        const char* utf8;
        const char* field;
    } texts[] = {
        {"K\xC3\xB6ln", "K\xF6ln"},
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", "Lodz"},          // beyond Windows-1252: all in plain letters
        {"Plze\xC5\x88", "Plzen"},
        {"Frankfurt am Main", "Frankfurt "},                 // cut to ten characters
        {"\xE5\x8C\x97\xE4\xBA\xAC", "??"},
    };
    for (const auto& t : texts) EXPECT_EQ(chart_text(t.utf8), t.field) << t.utf8;

    EXPECT_EQ(parse_date("1.6.1945"), (std::optional<CivilTime>(CivilTime{1945, 6, 1, 0, 0, 0})));
    for (const char* bad : {"29.2.1900", "1.6.45", "1.13.1945", "1.6.-945", "", "1..1945"})
        EXPECT_FALSE(parse_date(bad)) << bad;
    EXPECT_EQ(parse_clock("9:05", {1945, 6, 1, 0, 0, 0}), (std::optional<CivilTime>(CivilTime{1945, 6, 1, 9, 5, 0})));
    for (const char* bad : {"24:00", "9", "9:60", "9:5:5:5", "-1:00"}) EXPECT_FALSE(parse_clock(bad)) << bad;

    EXPECT_EQ(coordinate_text(13.4105, 3, 180), "+013 24 38");
    EXPECT_EQ(coordinate_text(-46.6361, 3, 180), "-046 38 10");
    EXPECT_EQ(coordinate_text(-0.0001, 2, 90), "+00 00 00");
    EXPECT_FALSE(coordinate_text(90.5, 2, 90));
    EXPECT_FALSE(coordinate_text(std::nan(""), 3, 180));
}
