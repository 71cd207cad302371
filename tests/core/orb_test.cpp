// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "app/orb.h"

using duoskop::read_orb;

TEST(OrbField, SecondCharacterBecomesTheDecimalPoint)
{
    EXPECT_DOUBLE_EQ(read_orb("1,5").value, 1.5);
    EXPECT_TRUE(read_orb("1,5").ok);
    EXPECT_DOUBLE_EQ(read_orb("0,8").value, 0.8);
    EXPECT_DOUBLE_EQ(read_orb("2,5").value, 2.5);
    EXPECT_DOUBLE_EQ(read_orb("2.5").value, 2.5);
    EXPECT_DOUBLE_EQ(read_orb("25").value, 2.0);  // the 5 is replaced by the point
    EXPECT_TRUE(read_orb("25").ok);
    EXPECT_DOUBLE_EQ(read_orb("5").value, 5.0);   // one character stays as it is
    EXPECT_TRUE(read_orb("5").ok);
    EXPECT_DOUBLE_EQ(read_orb("1e400").value, 1.4);  // "1.400"
}

TEST(OrbField, NonNumbersAreRefusedWithThePrefixRead)
{
    EXPECT_FALSE(read_orb("").ok);
    EXPECT_EQ(read_orb("").value, 0);
    EXPECT_FALSE(read_orb("-1").ok);  // "-." has no digit
    EXPECT_FALSE(read_orb("nan").ok);
    const auto partial = read_orb("99,9");  // "9.,9": 9 read, then the comma does not fit
    EXPECT_FALSE(partial.ok);
    EXPECT_DOUBLE_EQ(partial.value, 9.0);
    EXPECT_FALSE(read_orb("1,5 ").ok);
    EXPECT_FALSE(read_orb(" ").ok);
}

TEST(OrbField, ExponentsSignsAndOverflow)
{
    EXPECT_DOUBLE_EQ(read_orb("1,5e1").value, 15.0);
    EXPECT_TRUE(read_orb("1,5e1").ok);
    EXPECT_TRUE(read_orb("1,").ok);  // a point without digits after it is accepted
    EXPECT_DOUBLE_EQ(read_orb("1,e").value, 1.0);
    EXPECT_FALSE(read_orb("1,e").ok);
    EXPECT_FALSE(read_orb("1,0e999").ok);  // infinity is no orb
    EXPECT_EQ(read_orb("1,0e999").value, 0);
    EXPECT_DOUBLE_EQ(read_orb(" ,5").value, 0.5);  // " ." then 5
}

TEST(OrbField, SmallAndLargeExponentsAsCReadsThem)
{
    const struct {
        const char* text;
        double value;
        bool ok;
    } cases[] = {
        {"1,0e-999", 0.0, true},        // below the smallest double: zero, accepted
        {"-,5e-999", -0.0, true},
        {"1,0e-320", 1e-320, true},     // subnormal
        {"1,0e308", 1e308, true},
        {"1,0e309", 0.0, false},        // infinity is no orb
        {"+1,5", 0.0, false},           // "+.5": the sign stands in second place
        {" 1.5", 0.0, false},           // " ..5": no digit
        {"0,5E+1", 5.0, true},
        {"1,5e00000000000000000000001", 15.0, true},
        {"1,0e-0000000000000000000999", 0.0, true},
    };
    for (const auto& c : cases) {
        const auto r = read_orb(c.text);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(std::signbit(r.value), std::signbit(c.value)) << c.text;
        EXPECT_EQ(r.ok, c.ok) << c.text;
    }
}

// The program runs in the user's locale, whose decimal separator is a comma in a German
// session: the reading must not change with it.
TEST(OrbField, ReadsTheSameUnderAGermanLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "locale de_DE.UTF-8 missing (tools/install-deps)";
    const struct {
        const char* text;
        double value;
        bool ok;
    } cases[] = {
        {"1,5", 1.5, true}, {"0,5", 0.5, true}, {"2.5", 2.5, true}, {"25", 2.0, true},
        {"1,5e1", 15.0, true}, {"99,9", 9.0, false}, {"1,0e999", 0.0, false},
    };
    for (const auto& c : cases) {
        const auto r = read_orb(c.text);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.ok, c.ok) << c.text;
    }
    std::setlocale(LC_ALL, before.c_str());
}
