// SPDX-License-Identifier: GPL-3.0-or-later
// The dial read aloud: angles and longitudes as words with the numbers the window shows (rounding
// at the minute and the sign's end), the points of a pair with full names, and the midpoint tree
// as one text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "dialview/midpoints.h"
#include "dialview/spoken.h"

namespace duoskop {
namespace {

TEST(Spoken, AnglesAndLongitudesReadAsTheWindowWritesThem)
{
    struct Case {
        double degrees;
        const char* angle;
        const char* longitude;
    };
    const Case cases[] = {
        {0.0, "0 Grad 0 Minuten", "0 Grad 0 Minuten Widder"},
        {7.5, "7 Grad 30 Minuten", "7 Grad 30 Minuten Widder"},
        {107.5, "107 Grad 30 Minuten", "17 Grad 30 Minuten Krebs"},
        {145.2, "145 Grad 12 Minuten", "25 Grad 12 Minuten L\xF6we"},
        {255.0, "255 Grad 0 Minuten", "15 Grad 0 Minuten Sch\xFCtze"},
        {359.99, "359 Grad 59 Minuten", "29 Grad 59 Minuten Fische"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spoken_angle(c.degrees), c.angle) << c.degrees;
        EXPECT_EQ(spoken_longitude(c.degrees), c.longitude) << c.degrees;
    }
    // 59.6 minutes round up to the next degree, as "11°00'" stands in the window.
    EXPECT_EQ(spoken_angle(10 + 59.6 / 60), "11 Grad 0 Minuten");
    EXPECT_EQ(spoken_longitude(std::nan("")), "");
    // The pointer reads as a longitude only on the 360-degree dial.
    EXPECT_EQ(spoken_position(107.5, 360), "17 Grad 30 Minuten Krebs");
    EXPECT_EQ(spoken_position(7.5, 22.5), "7 Grad 30 Minuten");
}

TEST(Spoken, PointsNameBodiesAndPersons)
{
    const PairFactor sun1 = pair_factor(2, 1);
    const PairFactor moon1 = pair_factor(4, 1);
    const PairFactor moon2 = pair_factor(4, 2);
    const PairFactor aries = pair_factor(1, 2);
    EXPECT_EQ(spoken_factor(sun1), "Sonne, Person 1");
    EXPECT_EQ(spoken_factor(aries), "Widderpunkt");
    EXPECT_EQ(spoken_factor(pair_factor(22, 2)), "Galaktisches Zentrum, Person 2");
    EXPECT_EQ(spoken_point(pair_point(sun1, sun1)), "Sonne, Person 1");
    EXPECT_EQ(spoken_point(pair_point(moon1, sun1)), "Halbsumme Sonne und Mond, Person 1");
    EXPECT_EQ(spoken_point(pair_point(moon2, sun1)), "Halbsumme Sonne, Person 1, und Mond, Person 2");
    EXPECT_EQ(spoken_point(pair_point(aries, moon2)), "Halbsumme Widderpunkt und Mond, Person 2");
    // The movers of the third ring, and a name that is none stays as it is.
    const std::pair<const char*, const char*> movers[] = {
        {"SB1:SO", "Sonnenbogen Sonne, Person 1"}, {"SB2:MC", "Sonnenbogen MC, Person 2"},
        {"T:SA", "Saturn, Transit"}, {"T:XX", "T:XX"}, {"SO", "SO"}};
    for (const auto& [name, words] : movers) EXPECT_EQ(spoken_mover(name), words);
}

TEST(Spoken, TreeReadsFactorsThenTheirMidpoints)
{
    Positions pos1;
    pos1.fill(std::nan(""));
    pos1[1] = 0;      // WI
    pos1[2] = 100.0;  // SO: 10 on the 22.5 dial
    pos1[4] = 10.2;   // MO: 10.2
    pos1[6] = 0.4;    // ME: 0.4; SO/ME = 50.2, 5.2; MO/ME = 5.3
    const PointerTree tree = pointer_tree(pos1, nullptr, 10.0, 0.5, 22.5);
    EXPECT_EQ(spoken_tree(tree),
              "Zeiger 10 Grad 0 Minuten, Orbis 0 Grad 30 Minuten; Sonne, Person 1, Abstand 0 Grad 0 Minuten; "
              "gleich Halbsumme Sonne und Mond, Person 1, Abstand 0 Grad 6 Minuten; "
              "Mond, Person 1, Abstand 0 Grad 12 Minuten; "
              "gleich Halbsumme Sonne und Mond, Person 1, Abstand 0 Grad 6 Minuten");
    const PointerTree empty = pointer_tree(pos1, nullptr, 16.0, 0.5, 22.5);
    EXPECT_EQ(spoken_tree(empty), "Zeiger 16 Grad 0 Minuten, Orbis 0 Grad 30 Minuten; nichts auf dem Zeiger");
    // Midpoints equal to no factor on the pointer follow, closest first.
    const PointerTree mid = pointer_tree(pos1, nullptr, 5.2, 0.5, 22.5);
    const std::string start =
        "Zeiger 5 Grad 12 Minuten, Orbis 0 Grad 30 Minuten; Halbsumme Sonne und Merkur, Person 1, "
        "Abstand 0 Grad 0 Minuten; ";
    EXPECT_EQ(spoken_tree(mid).substr(0, start.size()), start);
}

}  // namespace
}  // namespace duoskop
