// SPDX-License-Identifier: GPL-3.0-or-later
// The dial's third ring: its points are the movers where movers_at puts them, MC and AS arcs go
// with an unknown birth time, and the midpoint tree counts a mover on the pointer as a factor with
// the pair's midpoints equal to it beneath.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "dialview/dial_view.h"
#include "dialview/midpoints.h"
#include "timeline/paths.h"
#include "timeline/ring.h"

namespace duoskop {
namespace {

ChartState pair_of(const char* a, const char* b)
{
    const std::string folder = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    ChartState chart;
    EXPECT_EQ(holen(folder + a, 1, chart).outcome, LoadOutcome::loaded);
    EXPECT_EQ(holen(folder + b, 2, chart).outcome, LoadOutcome::loaded);
    return chart;
}

double noon(int year, int month, int day) { return chart_julian_day0(year, month, day) + 0.5; }

std::set<std::string> names_of(const std::vector<MovingPoint>& points)
{
    std::set<std::string> names;
    for (const MovingPoint& p : points) names.insert(p.name);
    return names;
}

TEST(DialRing, PointsAreTheMoversWhereMoversAtPutsThem)
{
    struct Case {
        const char* person2;
        double instant;
        bool time_known2;
    };
    const Case cases[] = {{"HOLLMANN.dat", noon(2024, 6, 15), true},
                          {"HOLLMANN.dat", noon(1990, 3, 1) + 0.3, true},
                          {"SONNBERG.dat", noon(2031, 11, 2), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.person2);
        const ChartState chart = pair_of("ALBRECHT.dat", c.person2);
        const TimelineRequest request = ring_request();
        const MoversAt at = movers_at(chart, request, c.instant);
        const std::vector<MovingPoint> ring = ring_points(chart, request, c.instant);
        // The same movers in the same order, named by mover_name, at the very same longitudes.
        std::size_t n = 0;
        for (std::size_t k = 0; k < at.movers.size(); ++k) {
            if (!std::isfinite(at.longitudes[k])) continue;
            ASSERT_LT(n, ring.size());
            EXPECT_EQ(ring[n].name, mover_name(at.movers[k]));
            EXPECT_EQ(ring[n].longitude, at.longitudes[k]);
            ++n;
        }
        EXPECT_EQ(n, ring.size());

        // Default movers: SB1 and SB2 of MC, SO, AS, MO, the transits of JU to PL; MC and AS of
        // a person whose birth time is unknown do not move.
        const std::set<std::string> names = names_of(ring);
        for (const char* name : {"SB1:MC", "SB1:SO", "SB1:AS", "SB1:MO", "SB2:SO", "SB2:MO", "T:JU", "T:SA", "T:UR",
                                 "T:NE", "T:PL"})
            EXPECT_TRUE(names.contains(name)) << name;
        EXPECT_EQ(names.contains("SB2:MC"), c.time_known2);
        EXPECT_EQ(names.contains("SB2:AS"), c.time_known2);
        EXPECT_FALSE(names.contains("T:MA"));
        EXPECT_FALSE(names.contains("SB1:VE"));
    }
}

TEST(DialRing, MoversOfAnotherChoiceAndBeforeTheBirth)
{
    const ChartState chart = pair_of("ALBRECHT.dat", "HOLLMANN.dat");
    TimelineRequest request = ring_request();
    request.arc2 = false;
    request.transit_bodies = {*body_of_code("SA")};
    const std::set<std::string> names = names_of(ring_points(chart, request, noon(2024, 6, 15)));
    EXPECT_EQ(names, (std::set<std::string>{"SB1:MC", "SB1:SO", "SB1:AS", "SB1:MO", "T:SA"}));
    // Long before both births only the transits stand on the ring.
    EXPECT_EQ(names_of(ring_points(chart, request, noon(1800, 1, 1))), std::set<std::string>{"T:SA"});
    EXPECT_TRUE(ring_points(chart, request, std::nan("")).empty());
}

TEST(DialRing, TheTreeCountsAMoverOnThePointer)
{
    const ChartState chart = pair_of("ALBRECHT.dat", "HOLLMANN.dat");
    const std::vector<MovingPoint> ring = ring_points(chart, ring_request(), noon(2024, 6, 15));
    ASSERT_FALSE(ring.empty());
    const double orb = 1.0;
    for (const double modulus : dial_moduli) {
        for (const MovingPoint& mover : ring) {
            SCOPED_TRACE(mover.name + " on " + modulus_text(modulus));
            const double at = dial_position(mover.longitude, modulus);
            const PointerTree tree = pointer_tree(chart.pos1, &chart.pos2, at, orb, modulus, ring);
            const auto branch = std::find_if(tree.factors.begin(), tree.factors.end(),
                                             [&](const TreeBranch& b) { return b.factor.mover == mover.name; });
            ASSERT_NE(branch, tree.factors.end());
            EXPECT_EQ(item_name(branch->factor), mover.name);
            EXPECT_EQ(branch->factor.longitude, mover.longitude);
            // Beneath it exactly the pair's midpoints on the pointer that are equal to it.
            std::set<std::string> expected;
            for (const DialItem& item : dial_items(chart.pos1, &chart.pos2, modulus))
                if (!item.point.is_factor() && within_dial_orb(item.position, tree.pointer, orb, modulus) &&
                    within_dial_orb(item.position, at, orb, modulus))
                    expected.insert(point_name(item.point));
            std::set<std::string> under;
            for (const DialItem& m : branch->midpoints) under.insert(item_name(m));
            EXPECT_EQ(under, expected);
        }
    }
    // Without movers the tree is the pair's alone, as before.
    const PointerTree with = pointer_tree(chart.pos1, &chart.pos2, 7.5, orb, 22.5, ring);
    const PointerTree without = pointer_tree(chart.pos1, &chart.pos2, 7.5, orb, 22.5);
    std::size_t pair_factors = 0;
    for (const TreeBranch& b : with.factors) pair_factors += b.factor.mover.empty() ? 1 : 0;
    EXPECT_EQ(pair_factors, without.factors.size());
    for (const TreeBranch& b : without.factors) EXPECT_TRUE(b.factor.mover.empty());
}

TEST(DialRing, LegendNamesTheMinute)
{
    EXPECT_EQ(ring_legend(noon(2024, 6, 15) + 2.5 / 24), "Ausl\xF6ser 15.06.2024 14:30 UT");
}

}  // namespace
}  // namespace duoskop
