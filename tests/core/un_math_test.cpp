// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "astro/un_math.h"

using namespace duoskop;

TEST(Rounding, IntFracTruncTruncateTowardZero)
{
    EXPECT_EQ(Int(-7.8), -7.0);
    EXPECT_NEAR(Frac(-7.8), -0.8, 1e-12);
    EXPECT_EQ(Trunc(-7.8), -7);
    EXPECT_EQ(Trunc(7.99), 7);
    EXPECT_EQ(Trunc(std::nan("")), 0);
    EXPECT_EQ(Trunc(1e300), INT64_MAX);
}

TEST(Reduction, DialSignAndCircleKeepTheSign)
{
    EXPECT_EQ(mod225(22.5), 0.0);
    EXPECT_DOUBLE_EQ(mod225(45.75), 0.75);
    EXPECT_NEAR(mod225(359.9), 22.4, 1e-9);
    EXPECT_EQ(mod225(-1), -1.0);
    EXPECT_EQ(mod360(-30), -30.0);
    EXPECT_EQ(modulo(-30, 360), 330.0);
    EXPECT_EQ(mod30(45), 15.0);
    // The quotient is formed as x*10/225, not x/22.5.
    EXPECT_EQ(mod225(180.0), 0.0);
}

TEST(Polar, ZeroSubstitutesKeepDirectionsDefined)
{
    EXPECT_DOUBLE_EQ(rect_to_polar(-1, 0).angle, std::numbers::pi - 1.754533e-9);
    EXPECT_DOUBLE_EQ(rect_to_polar(0, -1).angle, 3 * std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(rect_to_polar(0, 1).angle, std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(rect_to_polar(3, 4).radius, 5);
    const Rect r = polar_to_rect(0, 2);
    EXPECT_DOUBLE_EQ(r.x, 2 * std::cos(1.75453e-9));
    EXPECT_DOUBLE_EQ(r.y, 2 * std::sin(1.75453e-9));
    EXPECT_DOUBLE_EQ(rect_to_polar(1, 0, 1.7e-9).angle, 1.7e-9);
}

TEST(AngleText, DegreesAndRoundedMinutes)
{
    EXPECT_EQ(angle_text(2, 1, 5.5), "05\xB0" "30'");
    EXPECT_EQ(angle_text(2, 22, 28.0), "05\xB0" "30'");
    EXPECT_EQ(angle_text(2, 30, 45.0), "15\xB0" "00'");
    EXPECT_EQ(angle_text(2, 1, -0.25), "-00\xB0" "15'");
    EXPECT_EQ(angle_text(2, 1, 10.9999), "11\xB0" "00'");
    EXPECT_EQ(angle_text(2, 30, 29.995), "30\xB0" "00'");  // no carry beyond the minutes
    EXPECT_EQ(angle_text(2, 22, 22.4995), "22\xB0" "30'");
    // Exactly 30 seconds round down, 31 up.
    EXPECT_EQ(angle_text(2, 1, 1 + 30.0 / 3600 + 1e-9), "01\xB0" "00'");
    EXPECT_EQ(angle_text(2, 1, 1 + 31.0 / 3600), "01\xB0" "01'");
    EXPECT_EQ(angle_text(2, 1, 1.5).size(), 6u);
}

TEST(TextRoutines, ZeroPadAndPadRight)
{
    EXPECT_EQ(zero_pad(0, 2), "00");
    EXPECT_EQ(zero_pad(9, 2), "09");
    EXPECT_EQ(zero_pad(12, 2), "12");
    EXPECT_EQ(zero_pad(1987, 4), "1987");
    EXPECT_EQ(zero_pad(7, 6), "000007");
    EXPECT_EQ(pad_right("MC/JU  ", 8), "MC/JU   ");
    EXPECT_EQ(pad_right("0123456789", 8), "0123456789");
    EXPECT_EQ(pad_right("    ", 5), "     ");
    EXPECT_EQ(pad_right("", 0), "");
}

TEST(TextRoutines, AppendCutsAt255)
{
    std::string line(250, 'x');
    append_cut(line, "0123456789");
    EXPECT_EQ(line.size(), 255u);
    EXPECT_EQ(line.substr(250), "01234");
    append_cut(line, "more");
    EXPECT_EQ(line.size(), 255u);
}
