// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar of the chart computation: Julian before the year 1582, Gregorian from 1582 on,
// decided by the year alone. Every conversion of birth dates counts days with these routines, so
// that a date means the same day to the intake, the time probe and the chart computation.
#pragma once

#include <cstdint>

namespace duoskop {

/// A leap year of the chart calendar: every fourth year before 1582, the Gregorian rule from then.
bool chart_leap_year(std::int64_t year);

/// Days of `month` (1-12) in `year` of the chart calendar.
int chart_days_in_month(std::int64_t month, std::int64_t year);

/// True for a day of the chart calendar (month 1-12, day within the month; any year).
bool chart_date_valid(std::int64_t year, std::int64_t month, std::int64_t day);

/// Julian day number (the day beginning at the noon of the date) of a date of the chart calendar;
/// the chart computation's Julian day of 0h UT on that date is this number minus 0.5.
std::int64_t chart_day_number(std::int64_t year, std::int64_t month, std::int64_t day);

struct ChartDate {
    std::int64_t year = 2000, month = 1, day = 1;
};

/// Julian day of 0h universal time on a date as the chart computation counts it, for any numbers a
/// chart file's date fields can hold: Julian before the year 1582, Gregorian from 1582 on (the
/// unadjusted year decides), a day or month outside its range counted on linearly. For a date of
/// the chart calendar it is chart_day_number(year, month, day) - 0.5.
double chart_julian_day0(std::int32_t year, std::int32_t month, std::int32_t day);

/// The date of the chart calendar with Julian day number `number`: Julian up to 31 December 1581,
/// Gregorian from 11 January 1582 on. The chart computation also counts 01.-10.01.1582 (Gregorian
/// from the first day of 1582) as the ten days 22.-31.12.1581; a day number of those ten days is
/// given its Julian name, so that the day after 31.12.1581 is 11.01.1582.
ChartDate chart_date_of(std::int64_t number);

/// The date of `number` as chart_date_of gives it, but named as `typed` names its days: when
/// `typed` is one of 01.-10.01.1582 and the date falls on 22.-31.12.1581, the 1582 name of that
/// day (a date typed in the first days of 1582 stays in 1582 through a conversion).
ChartDate chart_date_of(std::int64_t number, const ChartDate& typed);

/// True for 01.-10.01.1582, the dates that name the same days as 22.-31.12.1581.
bool chart_date_twin_of_1581(const ChartDate& date);

}  // namespace duoskop
