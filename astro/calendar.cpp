// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/calendar.h"

#include <array>
#include <cmath>

namespace duoskop {

namespace {

constexpr std::int64_t gregorian_reform_year = 1582;

std::int64_t floor_div(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

std::int64_t day_number(std::int64_t year, std::int64_t month, std::int64_t day, bool gregorian)
{
    // Days counted from 1 March of year -4800, so that the leap day ends each counted year.
    const std::int64_t a = floor_div(14 - month, 12);
    const std::int64_t y = year + 4800 - a;
    const std::int64_t m = month + 12 * a - 3;
    const std::int64_t base = day + floor_div(153 * m + 2, 5) + 365 * y + floor_div(y, 4);
    return gregorian ? base - floor_div(y, 100) + floor_div(y, 400) - 32045 : base - 32083;
}

// Day number of 11 January 1582 in the Gregorian calendar, the day after 31 December 1581 in the
// Julian one: from here on day numbers are named by the Gregorian calendar. The ten day numbers
// before it are both 22.-31.12.1581 (Julian) and 01.-10.01.1582 (Gregorian) and keep the Julian name.
const std::int64_t first_gregorian_number = day_number(gregorian_reform_year - 1, 12, 31, false) + 1;

}  // namespace

bool chart_leap_year(std::int64_t year)
{
    if (year < gregorian_reform_year) return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int chart_days_in_month(std::int64_t month, std::int64_t year)
{
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static_assert(days.size() == 12);
    if (month < 1 || month > 12) return 0;
    return month == 2 && chart_leap_year(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

bool chart_date_valid(std::int64_t year, std::int64_t month, std::int64_t day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= chart_days_in_month(month, year);
}

std::int64_t chart_day_number(std::int64_t year, std::int64_t month, std::int64_t day)
{
    return day_number(year, month, day, year >= gregorian_reform_year);
}

double chart_julian_day0(std::int32_t year, std::int32_t month, std::int32_t day)
{
    constexpr double days_per_julian_year = 365.25;
    constexpr double month_day_factor = 30.6001;     // days per month counted from March (the extra
                                                     // 0.0001 keeps the truncation from falling short)
    constexpr double julian_day_offset = 1720996.5;  // 1720994.5 plus the two days the Gregorian
                                                     // correction leaves out
    // January and February count as the 13th and 14th month of the year before.
    double y = year;
    double m = month;
    if (month <= 2) {
        y = y - 1;
        m = m + 12;
    }
    // The Gregorian correction from 1582 on; the unadjusted year decides.
    const double b = year < gregorian_reform_year ? -2.0 : std::trunc(y / 400) - std::trunc(y / 100);
    return std::trunc(days_per_julian_year * y) + std::trunc(month_day_factor * (m + 1)) + b +
           julian_day_offset + day;
}

ChartDate chart_date_of(std::int64_t number)
{
    std::int64_t c = 0, century_years = 0;
    if (number >= first_gregorian_number) {
        const std::int64_t a = number + 32044;
        const std::int64_t b = floor_div(4 * a + 3, 146097);
        c = a - floor_div(146097 * b, 4);
        century_years = 100 * b;
    } else {
        c = number + 32082;
    }
    const std::int64_t d = floor_div(4 * c + 3, 1461);
    const std::int64_t e = c - floor_div(1461 * d, 4);
    const std::int64_t m = floor_div(5 * e + 2, 153);
    return {century_years + d - 4800 + floor_div(m, 10), m + 3 - 12 * floor_div(m, 10), e - floor_div(153 * m + 2, 5) + 1};
}

bool chart_date_twin_of_1581(const ChartDate& date)
{
    return date.year == gregorian_reform_year && date.month == 1 && date.day >= 1 && date.day <= 10;
}

ChartDate chart_date_of(std::int64_t number, const ChartDate& typed)
{
    const ChartDate date = chart_date_of(number);
    // 22.12.1581 (Julian) is 01.01.1582 (Gregorian): 21 days apart in name.
    if (chart_date_twin_of_1581(typed) && date.year == gregorian_reform_year - 1 && date.month == 12 && date.day >= 22)
        return {gregorian_reform_year, 1, date.day - 21};
    return date;
}

}  // namespace duoskop
