#include <gtest/gtest.h>

#include "app/chart_fields.h"

using namespace duoskop;

TEST(ChartFields, DatesAreRealCalendarDates)
{
    EXPECT_EQ(date_field("1.5.1960"), "01.05.1960");
    EXPECT_EQ(date_field("29.02.2000"), "29.02.2000");
    EXPECT_FALSE(date_field("29.02.1900"));
    EXPECT_FALSE(date_field("31.04.1960"));
    EXPECT_FALSE(date_field("0.1.1960"));
    EXPECT_FALSE(date_field("1.13.1960"));
    EXPECT_FALSE(date_field("1.5.60"));
    EXPECT_FALSE(date_field("-1.5.1960"));
    EXPECT_FALSE(date_field("+1.5.1960"));
}

TEST(ChartFields, TimesOfDay)
{
    EXPECT_EQ(time_field("6:30"), "06:30:00");
    EXPECT_EQ(time_field("23:59:59"), "23:59:59");
    EXPECT_FALSE(time_field("24:00:00"));
    EXPECT_FALSE(time_field("12:60"));
    EXPECT_FALSE(time_field("12:-1:00"));
    EXPECT_FALSE(time_field("12"));
}

TEST(ChartFields, CoordinatesInBothForms)
{
    EXPECT_EQ(coordinate_field("+008 30 00", 3, 180), "+008 30 00");
    EXPECT_EQ(coordinate_field("8.5", 3, 180), "+008 30 00");
    EXPECT_EQ(coordinate_field("-8,5", 3, 180), "-008 30 00");
    EXPECT_EQ(coordinate_field("53.55", 2, 90), "+53 33 00");
    EXPECT_EQ(coordinate_field("-0.0", 2, 90), "+00 00 00");
    EXPECT_FALSE(coordinate_field("90.01", 2, 90));
    EXPECT_FALSE(coordinate_field("181 00 00", 3, 180));
    EXPECT_FALSE(coordinate_field("8 60 00", 3, 180));
    EXPECT_FALSE(coordinate_field("1e2", 3, 180));
    // A second sign inside a part is no number (a fuzzer found "+-3 33 00" accepted).
    EXPECT_FALSE(coordinate_field("+-3 33 00", 2, 90));
    EXPECT_FALSE(coordinate_field("3 -33 00", 2, 90));
}
