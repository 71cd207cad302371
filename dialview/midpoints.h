// SPDX-License-Identifier: GPL-3.0-or-later
// The points of a pair on a dial of any size: the dial sizes the program draws, the dial position
// of a factor or midpoint on each, the sorted midpoint list, and the midpoint tree at the pointer
// (pointer -> factor -> the midpoints equal to it). Names as dialview/pair_points.h writes them.
#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "astro/bodies.h"
#include "dialview/pair_points.h"

namespace duoskop {

/// The dial sizes: one turn of the dial in degrees of longitude, largest first. 22.5 is the dial of
/// the comparisons and the default everywhere.
inline constexpr double dial_moduli[] = {360.0, 90.0, 45.0, 22.5, 11.25};
static_assert(std::size(dial_moduli) == 5);

/// The dial size a text names: "360", "90", "45", "22,5" or "22.5", "11,25" or "11.25" (trailing
/// zeros after the decimal sign allowed); nothing for any other text.
std::optional<double> parse_modulus(std::string_view text);

/// A dial size as the program writes it: "360", "90", "45", "22,5", "11,25".
std::string modulus_text(double modulus);

/// The dial position of a longitude on the dial of `modulus`, in degrees, [0, modulus): on the
/// 22.5-degree dial mod225 exactly as the comparisons take it, else the longitude reduced to one
/// turn of that dial. 0 for a value that is not finite.
double dial_position(double longitude, double modulus);

/// Shortest distance of two dial positions around the dial of `modulus`, degrees, [0, modulus/2].
double dial_distance(double a, double b, double modulus);

/// The orb test of the comparisons on the dial of `modulus`: the dial positions a and b (both in
/// [0, modulus)) lie closer than `orb`; a distance equal to the orb does not count, and the seam
/// at 0 joins (|a - b| > modulus - orb counts too).
bool within_dial_orb(double a, double b, double orb, double modulus);

/// The text of a pointer on the dial of `modulus` (Windows-1252): on the 360-degree dial the
/// longitude in its sign ("05°30' KRE"), else degrees and minutes ("07°30'", "67°30'").
std::string pointer_text(double position, double modulus);

/// A point that moves through time and stands on the dial for one instant: a solar arc of a
/// factor or a transit, named as the timeline of hits names it ("SB1:SO", "T:SA").
struct MovingPoint {
    std::string name;
    double longitude = 0;  ///< degrees, [0, 360)
};

/// A factor or midpoint of a pair, or a moving point, on one dial.
struct DialItem {
    PairPoint point;
    double position = 0;   ///< dial position on the dial's modulus, [0, modulus)
    double longitude = 0;  ///< where it stands in the zodiac, [0, 360); a midpoint's nearer point
    double distance = 0;   ///< in a tree: the shortest way to the pointer or factor above it
    std::string mover;     ///< a moving point's name; empty for a point of the pair

    bool is_factor() const { return !mover.empty() || point.is_factor(); }
};

/// The name of an item as the tree shows it: a moving point's own, else point_name.
std::string item_name(const DialItem& item);

/// The longitude of a point where it is drawn: a factor's own, a midpoint's nearer point
/// (nearer_midpoint), [0, 360); not finite when a factor has no position.
double drawn_longitude(const PairPoint& point, const Positions& pos1, const Positions& pos2);

/// Every factor and every midpoint of person 1, of person 2 (when `pos2` is given) and across, each
/// once (pair_points), with its dial position on the dial of `modulus`, in the order of
/// pair_points. On dials of 180 degrees or less a midpoint's dial position is that of the plain
/// mean (a + b) / 2, as the comparisons take it; on the 360-degree dial that of its nearer point.
/// Points whose factors have no finite position are left out.
std::vector<DialItem> dial_items(const Positions& pos1, const Positions* pos2, double modulus);

/// The sorted midpoint list of the dial: dial_items ascending by dial position; equal positions
/// keep the order of pair_points.
std::vector<DialItem> sorted_midpoints(const Positions& pos1, const Positions* pos2, double modulus);

/// A factor (or moving point) on the pointer and the midpoints on the pointer that are equal to it.
struct TreeBranch {
    DialItem factor;                  ///< distance: from the pointer
    std::vector<DialItem> midpoints;  ///< distance: from the factor; closest first
};

/// What stands on the pointer of a dial, grouped as a tree: pointer -> factor -> midpoints.
struct PointerTree {
    double pointer = 0;  ///< dial position of the pointer, [0, modulus)
    double orb = 0;
    double modulus = 22.5;
    /// Every factor within the orb of the pointer, closest first, each with the midpoints within
    /// the orb of the pointer that lie within the orb of that factor (a midpoint equal to two
    /// factors stands under both).
    std::vector<TreeBranch> factors;
    /// The midpoints within the orb of the pointer that are equal to none of those factors,
    /// closest first (distance from the pointer).
    std::vector<DialItem> midpoints;

    bool empty() const { return factors.empty() && midpoints.empty(); }
};

/// The midpoint tree at `pointer` (a dial position, reduced to the dial of `modulus`): every point
/// of dial_items within `orb` of it by within_dial_orb, grouped by the factors among them. The
/// `movers` stand in the tree as factors do (after the pair's factors at equal distances); those
/// without a finite longitude are left out. Equal distances keep the order of pair_points.
PointerTree pointer_tree(const Positions& pos1, const Positions* pos2, double pointer, double orb,
                         double modulus, std::span<const MovingPoint> movers = {});

}  // namespace duoskop
