// SPDX-License-Identifier: GPL-3.0-or-later
// The dial sizes and the points of a pair on them: the sizes' names, directions on the circle of
// each size, the nearer point of a midpoint, the sorted midpoint list and the midpoint tree at the
// pointer, held against brute force over many random pairs and pointers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "astro/un_math.h"
#include "dialview/dial_view.h"
#include "dialview/midpoints.h"
#include "tests/core/comparison_fixture.h"

namespace duoskop {
namespace {

using fixture::chart_pair;

// A pair of charts with every factor somewhere in the zodiac; WI at 0 as in every chart.
struct RandomPair {
    Positions pos1{}, pos2{};
};

RandomPair random_pair(std::mt19937_64& rng)
{
    std::uniform_real_distribution<double> zodiac(0, 360);
    RandomPair pair;
    for (std::size_t b = 0; b < body_codes.size(); ++b) {
        pair.pos1[b] = b == aries_point ? 0 : zodiac(rng);
        pair.pos2[b] = b == aries_point ? 0 : zodiac(rng);
    }
    return pair;
}

// Brute force, written apart from the module: the longitude of a point's factor, and the point's
// dial position by plain floating-point remainders (the nearer point on the 360-degree dial).
double brute_longitude(PairFactor f, const RandomPair& p)
{
    return f.body == aries_point ? 0 : (f.person == 2 ? p.pos2 : p.pos1)[f.body];
}

double brute_position(const PairPoint& point, const RandomPair& p, double modulus)
{
    const double a = brute_longitude(point.a, p);
    const double b = brute_longitude(point.b, p);
    double x = (a + b) / 2;
    if (modulus == 360 && std::fabs(a - b) > 180) x += 180;
    x = std::fmod(x, modulus);
    return x < 0 ? x + modulus : x;
}

bool brute_within(double a, double b, double orb, double modulus)
{
    const double d = std::fabs(a - b);
    return std::min(d, modulus - d) < orb;
}

std::set<std::string> names_on_pointer(const PointerTree& tree)
{
    std::set<std::string> names;
    for (const TreeBranch& branch : tree.factors) {
        names.insert(point_name(branch.factor.point));
        for (const DialItem& m : branch.midpoints) names.insert(point_name(m.point));
    }
    for (const DialItem& m : tree.midpoints) names.insert(point_name(m.point));
    return names;
}

TEST(DialSizes, NamesAreReadWithEitherDecimalSign)
{
    const std::pair<const char*, double> cases[] = {  // 0: refused
        {"360", 360}, {"90", 90}, {"45", 45}, {"22,5", 22.5}, {"22.5", 22.5}, {"22,50", 22.5}, {"11,25", 11.25},
        {"11.25", 11.25}, {"", 0}, {"22", 0}, {"180", 0}, {"22,,5", 0}, {"-90", 0}, {"9e1", 0}, {" 90", 0},
        {"0", 0}, {",", 0},
    };
    for (const auto& [text, modulus] : cases) EXPECT_EQ(parse_modulus(text).value_or(0), modulus) << text;
    for (const double m : dial_moduli) EXPECT_EQ(parse_modulus(modulus_text(m)), m) << modulus_text(m);
}

TEST(DialSizes, ZeroAtTheTopAndCounterClockwiseOnEverySize)
{
    for (const double m : dial_moduli) {
        // Parts of a turn and their points on the unit circle (y downward): a quarter on is left.
        const double cases[][3] = {{0, 0, -1}, {0.25, -1, 0}, {0.5, 0, 1}, {-0.25, 1, 0}, {3.25, -1, 0}};
        for (const auto& c : cases) {
            const DialPoint p = dial_point(c[0] * m, 0, 0, 1, m);
            EXPECT_NEAR(p.x, c[1], 1e-12) << m << " " << c[0];
            EXPECT_NEAR(p.y, c[2], 1e-12) << m << " " << c[0];
            EXPECT_NEAR(dial_position_at(p.x, p.y, m), normalize_dial(c[0] * m, m), 1e-9 * m) << m << " " << c[0];
        }
        EXPECT_DOUBLE_EQ(dial_difference(m - 0.25, 0.25, m), 0.5) << m;  // across the seam
        EXPECT_NEAR(dial_distance(0.1, m - 0.2, m), 0.3, 1e-12) << m;
    }
}

TEST(DialSizes, AMidpointStandsAtItsNearerPoint)
{
    const double cases[][3] = {{350, 10, 0}, {10, 350, 0}, {100, 200, 150}, {0, 180, 90}, {10, 200, 285}, {370, 10, 10}};
    for (const auto& c : cases) EXPECT_NEAR(nearer_midpoint(c[0], c[1]), c[2], 1e-12) << c[0] << "/" << c[1];

    // SO 350 and MO 10 of person 1: SO1/MO1 at 0 on every dial, at 180 on none but the smaller ones.
    const ChartState chart = chart_pair({{"SO", 350}, {"MO", 10}}, {});
    for (const double m : dial_moduli) {
        EXPECT_TRUE(names_on_pointer(pointer_tree(chart.pos1, nullptr, 0, 0.5, m)).contains("SO1/MO1")) << m;
        EXPECT_EQ(names_on_pointer(pointer_tree(chart.pos1, nullptr, 180, 0.5, m)).contains("SO1/MO1"), m <= 180);
    }
}

TEST(PointerTree, OrbIsMeasuredOnTheDialShownWithStrictBordersAndTheSeam)
{
    struct Case {
        double sun;      // person 1's Sun alone (and WI at 0)
        double pointer;  // on the dial
        double modulus;
        bool on_pointer;
    };
    const Case cases[] = {
        {5.5, 6.4, 22.5, true},   {5.5, 6.5, 22.5, false}, {0.3, 22.0, 22.5, true}, {0.5, 22.0, 22.5, false},
        {0.1, 89.8, 90, true},    {0.1, 89.8, 360, false}, {359.9, 0.5, 360, true}, {45.3, 22.5, 45, false},
        {11.3, 11.2, 11.25, true}, {190.2, 10.0, 90, true}, {190.2, 10.0, 360, false},
    };  // strict borders (a distance equal to the orb does not count) and the seam of each dial
    for (const Case& c : cases) {
        const ChartState chart = chart_pair({{"SO", c.sun}}, {});
        const auto names = names_on_pointer(pointer_tree(chart.pos1, nullptr, c.pointer, 1.0, c.modulus));
        EXPECT_EQ(names.contains("SO1"), c.on_pointer) << c.sun << " at " << c.pointer << " on " << c.modulus;
    }
    const ChartState chart = chart_pair({{"SO", 5.5}}, {});
    EXPECT_TRUE(pointer_tree(chart.pos1, nullptr, 5.5, 0, 22.5).empty());  // an orb of 0 holds nothing
}

TEST(PointerTree, FactorsCarryTheMidpointsEqualToThem)
{
    // On the 22.5 dial: MC1 10.0, SO2 190.6 (10.6); midpoints JU1/SA2 (103 + 277.3) / 2 = 10.15,
    // MC1/SO2 10.3, MO1/VE1 (40 + 26.1) / 2 = 10.55, KN2/ME2 (50 + 151.7) / 2 = 10.85. Every other
    // factor and midpoint of these bodies stands away from 10.
    const ChartState chart = chart_pair({{"MC", 10.0}, {"JU", 103.0}, {"MO", 40.0}, {"VE", 26.1}},
                                        {{"SO", 190.6}, {"SA", 277.3}, {"KN", 50.0}, {"ME", 151.7}});
    const auto names = [](const std::vector<DialItem>& items) {
        std::vector<std::string> result;
        for (const DialItem& m : items) result.push_back(point_name(m.point));
        return result;
    };
    const PointerTree tree = pointer_tree(chart.pos1, &chart.pos2, 10.45, 0.5, 22.5);
    ASSERT_EQ(tree.factors.size(), 2U);
    EXPECT_EQ(point_name(tree.factors[0].factor.point), "SO2");  // 0.15 from the pointer
    EXPECT_EQ(point_name(tree.factors[1].factor.point), "MC1");  // 0.45
    // A midpoint stands under every factor it equals, closest to that factor first.
    EXPECT_EQ(names(tree.factors[0].midpoints),
              (std::vector<std::string>{"MO1/VE1", "KN2/ME2", "MC1/SO2", "JU1/SA2"}));
    EXPECT_EQ(names(tree.factors[1].midpoints), (std::vector<std::string>{"JU1/SA2", "MC1/SO2"}));
    EXPECT_NEAR(tree.factors[1].factor.distance, 0.45, 1e-9);        // from the pointer
    EXPECT_NEAR(tree.factors[1].midpoints[0].distance, 0.15, 1e-9);  // from the factor
    EXPECT_TRUE(tree.midpoints.empty());

    // A midpoint equal to no factor on the pointer stands directly under it.
    const PointerTree loose = pointer_tree(chart.pos1, &chart.pos2, 10.95, 0.2, 22.5);
    EXPECT_TRUE(loose.factors.empty());
    EXPECT_EQ(names(loose.midpoints), (std::vector<std::string>{"KN2/ME2"}));
    EXPECT_NEAR(loose.midpoints[0].distance, 0.1, 1e-9);
    EXPECT_NEAR(loose.pointer, 10.95, 1e-12);
}

// Over many random pairs, pointers and orbs: the 22.5-degree tree at p holds exactly the union of
// the 90-degree trees at p, p + 22.5, p + 45 and p + 67.5, and what the dial's former list of each
// person's own points held (the midpoints across besides); every tree holds what brute force
// finds, shaped as a tree should be; every sorted list is what a brute-force sort gives.
TEST(MidpointLists, AgreeWithBruteForceAndAcrossDialSizes)
{
    std::mt19937_64 rng(2026);
    std::uniform_real_distribution<double> zodiac(0, 360);
    std::uniform_real_distribution<double> orbs(0.05, 3.0);
    const std::vector<PairPoint> points = pair_points({true, true, true});
    for (int round = 0; round < 40; ++round) {
        const RandomPair p = random_pair(rng);

        // Sorted lists: the brute-force order of every point by its own dial position, ties by
        // the order of the points (a selection sort, nothing shared with the module; slow, so
        // for some of the pairs).
        for (const double m : dial_moduli) {
            if (round % 5 != 0) break;
            std::vector<std::pair<double, std::size_t>> rest;
            for (std::size_t i = 0; i < points.size(); ++i) rest.push_back({brute_position(points[i], p, m), i});
            std::vector<std::pair<double, std::size_t>> sorted;
            while (!rest.empty()) {
                const auto least = std::min_element(rest.begin(), rest.end());  // position, then index
                sorted.push_back(*least);
                rest.erase(least);
            }
            const std::vector<DialItem> list = sorted_midpoints(p.pos1, &p.pos2, m);
            ASSERT_EQ(list.size(), sorted.size());
            for (std::size_t k = 0; k < list.size(); ++k) {
                ASSERT_EQ(point_name(list[k].point), point_name(points[sorted[k].second])) << m << " line " << k;
                // The module reduces by the comparisons' own routine: the last bit may differ.
                ASSERT_NEAR(list[k].position, sorted[k].first, 1e-9) << m << " line " << k;
            }
        }

        for (int turn = 0; turn < 25; ++turn) {
            const double pointer = zodiac(rng);
            const double orb = orbs(rng);
            std::set<std::string> union90;
            for (int k = 0; k < 4; ++k) {
                const auto names = names_on_pointer(pointer_tree(p.pos1, &p.pos2, pointer + k * 22.5, orb, 90));
                union90.insert(names.begin(), names.end());
            }
            const std::set<std::string> on22 = names_on_pointer(pointer_tree(p.pos1, &p.pos2, pointer, orb, 22.5));
            EXPECT_EQ(on22, union90) << "pointer " << pointer << " orb " << orb;
            std::set<std::string> former, own;
            for (const PointerHit& hit : hits_on_pointer(p.pos1, &p.pos2, pointer, orb))
                former.insert(point_name(pair_point(pair_factor(hit.a, hit.person), pair_factor(hit.b, hit.person))));
            for (const std::string& name : on22)
                if (!(touches_person(*parse_point_name(name), 1) && touches_person(*parse_point_name(name), 2)))
                    own.insert(name);
            EXPECT_EQ(own, former) << "pointer " << pointer << " orb " << orb;

            for (const double m : dial_moduli) {
                const PointerTree tree = pointer_tree(p.pos1, &p.pos2, pointer, orb, m);
                const double at = std::fmod(pointer, m);
                std::set<std::string> brute;
                for (const PairPoint& point : points)
                    if (brute_within(brute_position(point, p, m), at, orb, m)) brute.insert(point_name(point));
                ASSERT_EQ(names_on_pointer(tree), brute) << "pointer " << pointer << " orb " << orb << " on " << m;
                // Each midpoint under a factor equals it; one directly under the pointer equals none.
                for (const TreeBranch& b : tree.factors)
                    for (const DialItem& mid : b.midpoints) ASSERT_LT(mid.distance, orb);
                for (const DialItem& mid : tree.midpoints)
                    for (const TreeBranch& b : tree.factors)
                        ASSERT_FALSE(within_dial_orb(mid.position, b.factor.position, orb, m));
            }
        }
    }
}

TEST(MidpointLists, OnePersonAloneAndPersonsNotLoaded)
{
    std::mt19937_64 rng(3);
    const RandomPair p = random_pair(rng);
    for (const DialItem& item : sorted_midpoints(p.pos1, nullptr, 22.5)) EXPECT_FALSE(touches_person(item.point, 2));
    EXPECT_EQ(sorted_midpoints(p.pos1, nullptr, 22.5).size(), 22U + 231U);  // WI once, 231 midpoints
    // Factors without a position (a person not loaded) take no part, and without a chart no WI.
    Positions none;
    none.fill(std::nan(""));
    EXPECT_TRUE(pointer_tree(none, &none, 0, 1.0, 22.5).empty());
    EXPECT_EQ(sorted_midpoints(none, &p.pos2, 90).size(), 22U + 231U);
}

}  // namespace
}  // namespace duoskop
