// SPDX-License-Identifier: GPL-3.0-or-later
// The dial as a picture: where a dial position stands on the circle, how crowded labels are spread
// apart, what stands on the pointer within an orb, and which factors of which chart a result entry
// joins. The 22.5-degree dial is the default; every routine with a `modulus` serves each dial size
// (dialview/midpoints.h lists them). Plain geometry; the drawing itself lives with the windows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/bodies.h"
#include "results/result_text.h"

namespace duoskop {

/// The span of the comparisons' dial in degrees of longitude: one turn of the 22.5-degree dial.
inline constexpr double dial_span = 22.5;

/// A dial position brought into [0, modulus), also for negative values and values of one turn and
/// above; 0 for a value that is not finite.
double normalize_dial(double position, double modulus = dial_span);

/// Direction of a dial position on the drawn circle.
/// @param position  dial position in degrees (any value; reduced to one turn)
/// @param modulus   one turn of the dial in degrees of longitude
/// @return          radians counter-clockwise from the top of the circle, in [0, 2 pi)
double dial_angle(double position, double modulus = dial_span);

/// The longitude of the midpoint of two longitudes where a dial of 360 degrees draws it: the
/// nearer of its two points (on the shorter arc between them), in degrees, [0, 360). It is the
/// plain mean (a + b) / 2 of the comparisons, or the point opposite it when a and b lie more than
/// 180 degrees apart; on every dial of 180 degrees or less both points stand on the same spot.
double nearer_midpoint(double a, double b);

/// A point in screen coordinates: x to the right, y downward.
struct DialPoint {
    double x = 0;
    double y = 0;
};

/// The point of a dial position on a circle of `radius` around (cx, cy), 0 at the top and
/// counter-clockwise, in the units of the arguments.
DialPoint dial_point(double position, double cx, double cy, double radius, double modulus = dial_span);

/// The dial position in [0, modulus) whose direction from the centre is (dx, dy) (screen
/// coordinates, y downward); 0 for the centre itself.
double dial_position_at(double dx, double dy, double modulus = dial_span);

/// Signed shortest way on the dial from `from` to `to`, in degrees, in [-modulus/2, modulus/2).
double dial_difference(double from, double to, double modulus = dial_span);

/// Where to draw labels of the given true dial positions so that neighbours on the circle stand at
/// least `min_gap` dial degrees apart: the order around the circle is kept and each label moves as
/// little as the crowd around it allows. A gap too large for all labels to fit is shrunk to
/// modulus / count. Returns one shown position per input, in [0, modulus), in input order.
std::vector<double> spread_labels(const std::vector<double>& positions, double min_gap,
                                  double modulus = dial_span);

/// A factor of one person on the dial: a body (a == b) or the midpoint a/b.
struct PointerHit {
    std::uint8_t person = 1;   ///< 1 or 2
    std::uint8_t a = 0;        ///< body indices, a <= b; a == b for the body itself
    std::uint8_t b = 0;
    double position = 0;       ///< dial position of the factor, degrees
    double distance = 0;       ///< shortest distance from the pointer on the dial, degrees
};

/// The name of a hit: "SO" for a body, "MC/JU" for a midpoint.
std::string hit_name(const PointerHit& hit);

/// Every body and midpoint of bodies 0..21 of person 1 (and of person 2 when `pos2` is given)
/// whose dial position lies within `orb` of the pointer, with the strict borders of the
/// comparisons' orb tests (a distance equal to the orb does not count; the 0/22.5 seam joins).
/// Closest first; equal distances by person, then body indices.
std::vector<PointerHit> hits_on_pointer(const Positions& pos1, const Positions* pos2, double pointer,
                                        double orb);

/// One factor of a result entry: its body, the chart it comes from and its dial position.
struct EntryFactor {
    std::uint8_t body = 0;
    std::uint8_t person = 1;
    double position = 0;
};

/// A result entry A/B=C/D on the dial.
struct EntryPicture {
    std::array<EntryFactor, 4> factors{};  ///< A, B, C, D
    double axis = 0;    ///< dial position of the midpoint A/B in the charts it was taken from
    double second = 0;  ///< dial position of the midpoint C/D
    /// The longitude of A/B where the 360-degree dial draws it: the nearer of its two points.
    double axis_longitude = 0;
};

/// The body index (0..21) of a two-letter code, or nothing.
std::optional<std::uint8_t> body_of_code(std::string_view code);

/// The picture of a result entry XX/YY=AA/BB whose factors come from the charts in `charts`;
/// nothing for a text that does not name four bodies 0..21 in that form.
std::optional<EntryPicture> entry_picture(std::string_view entry, const EntryCharts& charts,
                                          const Positions& pos1, const Positions& pos2);

/// The body indices of a list of codes such as "MC,HA,SO,AS" (blanks around codes allowed);
/// nothing if one of them is not a code of bodies 0..21 or the list is empty.
std::optional<std::vector<std::uint8_t>> parse_code_list(std::string_view list);

}  // namespace duoskop
