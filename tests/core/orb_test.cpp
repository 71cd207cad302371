// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
