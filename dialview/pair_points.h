// SPDX-License-Identifier: GPL-3.0-or-later
// The points of a pair of charts and their names: the factors MC..PO of both persons and the
// midpoints of two of them, named as the timeline of hits, the midpoint list and the dial write
// them ("MC1", "SO2", "MC1/VE2", "SO2/MA2", "WI", "WI/VE2").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/bodies.h"

namespace duoskop {

/// The body index of the Aries point WI: 0 degrees in every chart, so it belongs to no person.
inline constexpr std::uint8_t aries_point = 1;

/// A factor of a pair: a body 0..21 of person 1 or 2; WI has person 0.
struct PairFactor {
    std::uint8_t body = 0;
    std::uint8_t person = 0;  ///< 1 or 2; 0 for WI
    bool operator==(const PairFactor&) const = default;
};

/// A factor of person 1 or 2 (WI becomes the person-less WI).
PairFactor pair_factor(std::uint8_t body, std::uint8_t person);

/// A factor (a == b) or the midpoint of two factors, in its written order: of a midpoint across the
/// persons person 1's factor first, else the lower body index first. Made only by pair_point.
struct PairPoint {
    PairFactor a;
    PairFactor b;
    bool is_factor() const { return a == b; }
    bool operator==(const PairPoint&) const = default;
};

/// The point of two factors in its written order; the midpoint of a factor with itself, and WI/WI,
/// is that factor.
PairPoint pair_point(PairFactor x, PairFactor y);

/// "MC1", "WI", "MC1/VE2", "SO2/MA2", "WI/VE2".
std::string point_name(const PairPoint& point);

/// The point a name stands for, the two factors in either order and the codes in any case
/// ("ve2/mc1" is MC1/VE2); a person digit after WI is taken and dropped ("WI1/VE2" is WI/VE2).
/// Nothing for a text that is not a factor or a midpoint of two factors of bodies 0..21.
std::optional<PairPoint> parse_point_name(std::string_view name);

/// The longitude of a point in degrees, [0, 360): the factor's, or for a midpoint the plain mean
/// (a + b) / 2 of the two longitudes, as the comparisons take it (its opposite point, 180 degrees
/// away, has the same position on every dial of 180 degrees or less).
double point_longitude(const PairPoint& point, const Positions& pos1, const Positions& pos2);

/// Whether a point holds a factor of person 1 or 2 (WI belongs to neither).
bool touches_person(const PairPoint& point, int person);

/// Whether a point holds MC or AS of a person whose birth time is unknown.
bool needs_unknown_time(const PairPoint& point, bool time_known1, bool time_known2);

/// Which points of a pair to list.
struct PointSets {
    bool factors = false;  ///< the 22 factors of each person (WI once)
    bool own = false;      ///< every midpoint of two factors of the same person
    bool cross = false;    ///< every midpoint of a factor of person 1 with one of person 2
};

/// The points of the chosen sets, each once (a point reached under two names, such as WI1/VE2 and
/// WI2/VE2, or WI and WI1/WI2, is listed once), leaving out MC, AS and every point holding them for a
/// person whose birth time is unknown. Order: factors (person 1, person 2), then midpoints of
/// person 1, of person 2, then across, each by body indices.
std::vector<PairPoint> pair_points(const PointSets& sets, bool time_known1 = true, bool time_known2 = true);

}  // namespace duoskop
