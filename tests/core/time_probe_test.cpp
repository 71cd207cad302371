// SPDX-License-Identifier: GPL-3.0-or-later
// The time probe: shifted records across midnight and month ends, entries that fall away at a
// known shift on charts whose bodies move at a chosen rate, and the probe of real charts with an
// unknown birth time against a plain minute-by-minute recount.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "app/dial.h"
#include "astro/std_ho.h"
#include "timeprobe/time_probe.h"

namespace duoskop {
namespace {

chart_record record_at(std::string date, std::string time, std::string longitude = "+010 00 00")
{
    return {"Meier", "Hans", std::move(date), std::move(time), "Hamburg", std::move(longitude),
            "+53 33 00"};
}

TEST(ShiftedRecord, TimeAndDateFieldsAcrossMidnightMonthsAndYears)
{
    struct Case {
        const char* date;
        const char* time;
        int minutes;
        std::optional<std::pair<const char*, const char*>> expected;  // date, time
    };
    const Case cases[] = {
        {"01.05.1960", "10:30:15", +4, {{"01.05.1960", "10:34:15"}}},
        {"01.05.1960", "10:30:15", -31, {{"01.05.1960", "09:59:15"}}},
        {"31.12.1999", "23:58:30", +2, {{"01.01.2000", "00:00:30"}}},
        {"01.01.2000", "00:00:00", -1, {{"31.12.1999", "23:59:00"}}},
        {"30.04.1975", "23:59:59", +1, {{"01.05.1975", "00:00:59"}}},
        {"28.02.2000", "23:59:00", +1, {{"29.02.2000", "00:00:00"}}},   // leap year (400)
        {"28.02.1900", "23:59:00", +1, {{"01.03.1900", "00:00:00"}}},   // no leap year (100)
        {"28.02.1500", "23:59:00", +1, {{"29.02.1500", "00:00:00"}}},   // Julian calendar
        {"01.03.2000", "00:00:00", -1, {{"29.02.2000", "23:59:00"}}},
        {"01.03.2100", "00:10:00", -11, {{"28.02.2100", "23:59:00"}}},
        {"15.06.1975", "12:00:00", +720, {{"16.06.1975", "00:00:00"}}},  // unknown time, whole day
        {"15.06.1975", "12:00:00", -720, {{"15.06.1975", "00:00:00"}}},
        {"1.5.1960", "23:59:00", +1, {{"02.12.0059", "00:00:00"}}},  // read as 1.0.60: 1 Dec 59
        {"1.5.1960", "12:00:00", +1, {{"1.5.1960", "12:01:00"}}},   // same day: date untouched
        {"31.12.1581", "23:59:00", +1, {{"11.01.1582", "00:00:00"}}},  // the day after, counted
        {"31.12.9999", "23:59:00", +1, std::nullopt},                // year 10000 has no room
        {"01.01.-999", "00:00:00", -1, std::nullopt},
        {"7:5", "junk", 0, {{"7:5", "junk"}}},  // no shift, no change
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time + " " + std::to_string(c.minutes));
        const std::optional<chart_record> shifted = shifted_record(record_at(c.date, c.time), c.minutes);
        ASSERT_EQ(shifted.has_value(), c.expected.has_value());
        if (!shifted) continue;
        EXPECT_EQ(shifted->date, c.expected->first);
        EXPECT_EQ(shifted->time, c.expected->second);
        EXPECT_EQ(shifted->name, "Meier");
        EXPECT_EQ(shifted->longitude_text, "+010 00 00");
    }
}

// The probe computes each shifted chart from the shifted instant, never from a written record:
// for every minute of the whole window of every sample chart (and of the odd records above), the
// instant is the one a chart file holding the shifted record gives, bit for bit, and so are the
// positions, from the theory and from the precise source.
TEST(ShiftedInstant, IsTheInstantOfTheShiftedRecordBitForBit)
{
    std::vector<chart_record> records;
    for (const char* name : {"ALBRECHT", "HOLLMANN", "KRANICH", "WEIDNER"}) {
        std::ifstream in(std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat", std::ios::binary);
        std::array<unsigned char, chart_record_size> bytes{};
        in.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
        ASSERT_TRUE(in) << name;
        records.push_back(read_chart_record(bytes));
    }
    const std::size_t samples = records.size();
    records.push_back(record_at("31.12.1581", "23:50:00"));
    records.push_back(record_at("1.5.1960", "23:59:00"));
    records.push_back(record_at("31.02.1990", "00:05:10"));
    records.push_back(record_at("01.01.0001", "00:10:00"));
    for (std::size_t r = 0; r < records.size(); ++r) {
        const chart_record& record = records[r];
        SCOPED_TRACE(record.name + " " + record.date + " " + record.time);
        const GeoPlace place = chart_place(werte_aktual(record));
        for (int minutes = -max_time_window; minutes <= max_time_window; ++minutes) {
            const std::optional<chart_record> moved = shifted_record(record, minutes);
            const std::optional<ChartInstant> instant = shifted_instant(record, minutes);
            ASSERT_EQ(moved.has_value(), instant.has_value()) << minutes;
            if (!moved) continue;
            const BirthData birth = werte_aktual(*moved);
            ASSERT_EQ(*instant, chart_instant(birth)) << minutes;
            if (r >= samples) continue;
            const Positions theory = positions_at(*instant, place, PositionSource::theory);
            ASSERT_EQ(std::memcmp(theory.data(), f_rechnen(birth).data(), sizeof theory), 0) << minutes;
            if (minutes % 29 != 0) continue;  // the precise source costs more; every 29th minute
            const Positions precise = positions_at(*instant, place, PositionSource::precise);
            ASSERT_EQ(std::memcmp(precise.data(), chart_positions(birth, PositionSource::precise).data(),
                                  sizeof precise), 0) << minutes;
        }
    }
}

// --- Charts whose bodies move at a chosen rate ----------------------------------------------

// Whole minutes of an instant, counted from the Julian day's epoch.
double minutes_of(const ChartInstant& instant) { return instant.jd0 * 1440 + std::round(instant.hours * 60); }

// Only the named bodies stand anywhere; the others are NaN and join no picture. The MC moves
// 0.2 degrees a minute from the base time on, so a date one day wrong moves it by 288 degrees (person 1 at 10° east, person 2 at 20° east);
// the Suns stand still, so the axis SO1/SO2 lies at 7.5 on the dial.
//   person 1: SO 110, MC 12, JU 3.7 -> MC/JU at 7.85, moving 0.1 a minute; SA and UR at 7.5
//   person 2: SO 130, MC 205, VE 33.9 -> MC/VE at 6.95, moving 0.1 a minute
double g_base_minutes = 0;

Positions moving_chart(const ChartInstant& instant, const GeoPlace& place)
{
    Positions pos;
    pos.fill(std::nan(""));
    const double shift = minutes_of(instant) - g_base_minutes;
    if (place.geo_longitude < 15) {
        pos[0] = 12 + 0.2 * shift;
        pos[2] = 110;
        pos[9] = 3.7;    // JU
        pos[10] = 7.5;   // SA
        pos[11] = 7.5;   // UR
    } else {
        pos[0] = 205 + 0.2 * shift;
        pos[2] = 130;
        pos[7] = 33.9;   // VE
    }
    return pos;
}

struct MovingPair {
    ChartState chart;
    std::vector<std::string> entries;
};

MovingPair moving_pair(const std::string& date, const std::string& time)
{
    MovingPair pair;
    pair.chart.person1 = record_at(date, time, "+010 00 00");
    pair.chart.person2 = record_at(date, time, "+020 00 00");
    pair.chart.person2.name = "Kunz";
    const BirthData birth1 = werte_aktual(pair.chart.person1), birth2 = werte_aktual(pair.chart.person2);
    g_base_minutes = minutes_of(chart_instant(birth1));
    pair.chart.pos1 = moving_chart(chart_instant(birth1), chart_place(birth1));
    pair.chart.pos2 = moving_chart(chart_instant(birth2), chart_place(birth2));
    form_search_axes(pair.chart.pos1, pair.chart.pos2, pair.chart.axes);
    pair.entries = run_comparison(Comparison::solar, pair.chart, Orbs{1.0, 0.5, 0.3}).entries;
    return pair;
}

// MC/JU of person 1 lies 0.35 past the axis and leaves the orb of 1.0 after 6 minutes on and
// 13 back; MC/VE of person 2 lies 0.55 before it and stays from -4 to +15.
TEST(TimeProbe, EntriesFallAwayAtTheShiftTheirMidpointLeavesTheOrb)
{
    struct Case {
        const char* date;
        const char* time;
        TimeWindow window;
        int workers;
    };
    const Case cases[] = {
        {"15.06.1975", "12:00:00", {15, 15}, 2},
        {"15.06.1975", "12:00:00", {15, 15}, 1},
        {"31.12.1999", "23:58:00", {15, 15}, 2},  // the walks on cross midnight and the year
        {"01.03.2000", "00:03:00", {15, 15}, 2},  // the walks back cross into a leap day
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        const MovingPair pair = moving_pair(c.date, c.time);
        ASSERT_EQ(pair.entries,
                  (std::vector<std::string>{"SO/SO=MC/JU", "SO/SO=SA/SA", "SO/SO=SA/UR",
                                            "SO/SO=UR/UR", "SO/SO=MC/VE"}));
        const std::vector<EntryStability> probe =
            time_probe(Comparison::solar, pair.chart, Orbs{1.0, 0.5, 0.3}, pair.entries, c.window,
                       ProbeOptions{c.workers, PositionSource::theory, &moving_chart});
        const std::vector<EntryStability> expected = {
            {{-13, 6}, {-15, 15}}, {{-15, 15}, {-15, 15}}, {{-15, 15}, {-15, 15}},
            {{-15, 15}, {-15, 15}}, {{-15, 15}, {-4, 15}}};
        EXPECT_EQ(probe, expected);
    }
}

TEST(TimeProbe, WindowsOfZeroAndTheTextsOfTheResult)
{
    const MovingPair pair = moving_pair("15.06.1975", "12:00:00");
    struct Case {
        TimeWindow window;
        std::vector<std::string> texts;
        std::string tooltip_mc_ju;
    };
    const Case cases[] = {
        {{0, 0}, {"fest", "fest", "fest", "fest", "fest"}, ""},
        {{0, 12}, {"fest", "fest", "fest", "fest", "P1 +0..+0 P2 -4..+12"}, ""},
        {{12, 0}, {"P1 -12..+6 P2 +0..+0", "fest", "fest", "fest", "fest"},
         "h\xE4ngt an der Geburtszeit: Person 1 nur \x96" "12 bis +6 min, Person 2 fest"},
        {{5, 5}, {"fest", "fest", "fest", "fest", "P1 -5..+5 P2 -4..+5"}, ""},
        {{3, 3}, {"fest", "fest", "fest", "fest", "fest"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.window.person1) + "," + std::to_string(c.window.person2));
        const std::vector<EntryStability> probe =
            time_probe(Comparison::solar, pair.chart, Orbs{1.0, 0.5, 0.3}, pair.entries, c.window,
                       ProbeOptions{2, PositionSource::theory, &moving_chart});
        std::vector<std::string> texts;
        for (const EntryStability& s : probe) texts.push_back(stability_text(s, c.window));
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(stability_tooltip(probe[0], c.window), c.tooltip_mc_ju);
        EXPECT_EQ(stability_tooltip(probe[1], c.window), "");
    }
    EXPECT_EQ(stability_tooltip({{-3, 2}, {0, 0}}, TimeWindow{4, 4}),
              "h\xE4ngt an der Geburtszeit: Person 1 nur \x96" "3 bis +2 min, Person 2 nur 0 bis 0 min");
}

// --- Real charts with an unknown birth time ----------------------------------------------------

chart_record sample_record(const char* name)
{
    std::ifstream in(std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/" + name + ".dat",
                     std::ios::binary);
    std::array<unsigned char, chart_record_size> bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    return read_chart_record(bytes);
}

// The contiguous run around 0 of a presence table indexed from -n to +n.
ShiftRange run_around_zero(const std::vector<bool>& present, int n)
{
    ShiftRange range;
    while (range.hi < n && present[static_cast<std::size_t>(n + range.hi + 1)]) ++range.hi;
    while (range.lo > -n && present[static_cast<std::size_t>(n + range.lo - 1)]) --range.lo;
    return range;
}

// The result list at every shift of one person's time, -n to +n.
std::vector<std::vector<std::string>> lists_at_every_shift(const ChartState& chart, const Orbs& orbs,
                                                           Comparison comparison, int person, int n)
{
    std::vector<std::vector<std::string>> lists;
    for (int shift = -n; shift <= n; ++shift) {
        ChartState shifted = chart;
        const chart_record& record = person == 1 ? chart.person1 : chart.person2;
        (person == 1 ? shifted.pos1 : shifted.pos2) = f_rechnen(werte_aktual(*shifted_record(record, shift)));
        form_search_axes(shifted.pos1, shifted.pos2, shifted.axes);
        lists.push_back(run_comparison(comparison, shifted, orbs).entries);
    }
    return lists;
}

// Where `entry` stands in the lists, each searched from its start.
ShiftRange recount(const std::vector<std::vector<std::string>>& lists, const std::string& entry, int n)
{
    std::vector<bool> present;
    for (const auto& list : lists) present.push_back(std::find(list.begin(), list.end(), entry) != list.end());
    return run_around_zero(present, n);
}

TEST(TimeProbe, UnknownBirthTimesOverAWholeDayAgreeWithARecount)
{
    ChartState chart;
    chart.person1 = sample_record("ALBRECHT");
    chart.person2 = sample_record("KRANICH");
    chart.person1.time = chart.person2.time = "12:00:00";
    chart.pos1 = f_rechnen(werte_aktual(chart.person1));
    chart.pos2 = f_rechnen(werte_aktual(chart.person2));
    form_search_axes(chart.pos1, chart.pos2, chart.axes);
    const Orbs orbs{1.0, 0.5, 0.3};
    constexpr int n = max_time_window;

    std::vector<ProbeTarget> targets;
    for (const Comparison comparison : all_comparisons)
        targets.push_back({comparison, run_comparison(comparison, chart, orbs).entries});
    const auto probe = time_probe(targets, chart, orbs, TimeWindow{n, n});
    ASSERT_EQ(probe.size(), targets.size());

    int fest = 0;
    int checked = 0;
    for (std::size_t t = 0; t < targets.size(); ++t) {
        ASSERT_EQ(probe[t].size(), targets[t].entries.size());
        const auto lists1 = lists_at_every_shift(chart, orbs, targets[t].comparison, 1, n);
        const auto lists2 = lists_at_every_shift(chart, orbs, targets[t].comparison, 2, n);
        // Each distinct text once is enough: the same text has the same ranges.
        std::vector<std::string> seen;
        for (std::size_t e = 0; e < targets[t].entries.size(); ++e) {
            const std::string& entry = targets[t].entries[e];
            if (std::find(seen.begin(), seen.end(), entry) != seen.end()) continue;
            seen.push_back(entry);
            SCOPED_TRACE(entry);
            const EntryStability expected{recount(lists1, entry, n), recount(lists2, entry, n)};
            EXPECT_EQ(probe[t][e], expected);
            fest += holds_over(expected, TimeWindow{n, n});
            ++checked;
        }
    }
    // A whole day moves MC and AS round the chart: nothing with a house axis in it stays.
    EXPECT_GT(checked, 10);
    EXPECT_LT(fest, checked);
}

}  // namespace
}  // namespace duoskop
