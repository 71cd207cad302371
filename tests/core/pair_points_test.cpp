// SPDX-License-Identifier: GPL-3.0-or-later
// The points of a pair and their names: written order, WI without a person, parsing in any order
// and case, the sets with each point once, and the points left out for an unknown birth time.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialview/pair_points.h"

namespace duoskop {
namespace {

TEST(PairPoints, NamesAreWrittenOneWayAndReadInAnyOrder)
{
    struct Case {
        const char* given;
        const char* written;  // nullptr: not a point
    };
    const Case cases[] = {
        {"MC1", "MC1"},         {"so2", "SO2"},         {"MC1/VE2", "MC1/VE2"}, {"VE2/MC1", "MC1/VE2"},
        {"MA2/SO2", "SO2/MA2"}, {"PO1/MC1", "MC1/PO1"}, {"WI", "WI"},           {"WI1", "WI"},      
        {"WI/VE2", "WI/VE2"},   {"VE2/WI", "WI/VE2"},   {"MC1/WI", "MC1/WI"},   {"WI/MC2", "MC2/WI"},
        {"WI/WI", "WI"},        {"MC1/MC1", "MC1"},     {"MC2/MC1", "MC1/MC2"}, {"GZ1", nullptr},
        {"MC", nullptr},        {"MC3", nullptr},       {"MC1/", nullptr},      {"MC1/VE2/SO1", nullptr},
        {"", nullptr},          {"MC1VE2", nullptr},    {"Du1", nullptr},       {"MC1 ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        const auto point = parse_point_name(c.given);
        ASSERT_EQ(point.has_value(), c.written != nullptr);
        if (!point) continue;
        EXPECT_EQ(point_name(*point), c.written);
        EXPECT_EQ(parse_point_name(point_name(*point)), point);
    }
}

TEST(PairPoints, LongitudesArePlainMeansOfTheTwoFactors)
{
    Positions pos1{}, pos2{};
    pos1[0] = 350;  // MC1
    pos2[7] = 20;   // VE2
    pos2[2] = 100;  // SO2
    const auto at = [&](const char* name) { return point_longitude(*parse_point_name(name), pos1, pos2); };
    EXPECT_DOUBLE_EQ(at("MC1"), 350);
    EXPECT_DOUBLE_EQ(at("MC1/VE2"), 185);   // (350 + 20) / 2, not the nearer 5
    EXPECT_DOUBLE_EQ(at("WI/VE2"), 10);
    EXPECT_DOUBLE_EQ(at("SO2/VE2"), 60);
    EXPECT_DOUBLE_EQ(at("WI"), 0);
}

TEST(PairPoints, SetsListEachPointOnceAndLeaveOutUnknownTimes)
{
    struct Case {
        PointSets sets;
        bool known1, known2;
        std::size_t count;
    };
    const Case cases[] = {
        {{true, false, false}, true, true, 43},   // 22 + 22, WI once
        {{false, true, false}, true, true, 462},  // 231 a person
        {{false, false, true}, true, true, 484},  // 22 x 22, WI1/WI2 = WI among them
        {{true, true, true}, true, true, 946},    // WI/x2, x1/WI and WI met twice
        {{true, false, false}, false, true, 41},  // no MC1, AS1
        {{false, false, true}, true, false, 440}, // 22 x 20
    };
    for (const Case& c : cases) {
        const std::vector<PairPoint> points = pair_points(c.sets, c.known1, c.known2);
        EXPECT_EQ(points.size(), c.count);
        std::set<std::string> names;
        for (const PairPoint& p : points) {
            names.insert(point_name(p));
            EXPECT_EQ(parse_point_name(point_name(p)), p);
            EXPECT_FALSE(needs_unknown_time(p, c.known1, c.known2)) << point_name(p);
        }
        EXPECT_EQ(names.size(), points.size());
    }
    const std::vector<PairPoint> all = pair_points({true, true, true});
    EXPECT_EQ(point_name(all.front()), "MC1");
    EXPECT_TRUE(touches_person(*parse_point_name("MC1/MC2"), 1));
    EXPECT_TRUE(touches_person(*parse_point_name("MC1/MC2"), 2));
    EXPECT_FALSE(touches_person(*parse_point_name("WI/VE2"), 1));
    EXPECT_FALSE(touches_person(*parse_point_name("WI"), 2));
}

}  // namespace
}  // namespace duoskop
