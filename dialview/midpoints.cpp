// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialview/midpoints.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/dial.h"
#include "astro/un_math.h"
#include "dialview/dial_view.h"

namespace duoskop {

namespace {

// The longitude of one factor of a pair; WI is 0 in every chart, but only a chart that is there
// (a person not loaded has no position at all) brings it.
double factor_longitude(PairFactor f, const Positions& pos1, const Positions& pos2)
{
    if (f.body == aries_point)
        return std::isfinite(pos1[aries_point]) || std::isfinite(pos2[aries_point]) ? 0 : std::nan("");
    return (f.person == 2 ? pos2 : pos1)[f.body];
}

// Every point of a pair once, in the order of pair_points: the list depends on nothing but the
// sets, so it is made once for the run.
const std::vector<PairPoint>& every_pair_point()
{
    static const std::vector<PairPoint> points = pair_points({true, true, true});
    return points;
}

// The closest first; equal distances keep the order they came in.
void sort_by_distance(std::vector<DialItem>& items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const DialItem& x, const DialItem& y) { return x.distance < y.distance; });
}

}  // namespace

std::optional<double> parse_modulus(std::string_view text)
{
    std::string number;
    bool decimal_sign = false;
    for (const char c : text) {
        if (c == ',' || c == '.') {
            if (decimal_sign) return std::nullopt;
            decimal_sign = true;
            number += '.';
        } else if (c >= '0' && c <= '9') {
            number += c;
        } else {
            return std::nullopt;
        }
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
    if (number.empty() || error != std::errc() || stop != end) return std::nullopt;
    for (const double modulus : dial_moduli)
        if (value == modulus) return modulus;
    return std::nullopt;
}

std::string modulus_text(double modulus)
{
    // Whole degrees and the two sizes with a fraction, written with the decimal comma.
    if (modulus == 22.5) return "22,5";
    if (modulus == 11.25) return "11,25";
    return std::to_string(static_cast<long long>(std::lround(modulus)));
}

double dial_position(double longitude, double modulus)
{
    if (!std::isfinite(longitude)) return 0;
    // The comparisons' own reduction, so that the 22.5-degree dial shows their very positions.
    const double r = modulus == dial_span ? mod225(longitude) : longitude - Int(longitude / modulus) * modulus;
    return normalize_dial(r, modulus);
}

double dial_distance(double a, double b, double modulus)
{
    const double d = std::fabs(a - b);
    return std::min(d, modulus - d);
}

bool within_dial_orb(double a, double b, double orb, double modulus)
{
    const double d = std::fabs(a - b);
    return d < orb || d > modulus - orb;
}

std::string pointer_text(double position, double modulus)
{
    return modulus == 360 ? position_text(position) : angle_text(2, 1, position);
}

double drawn_longitude(const PairPoint& point, const Positions& pos1, const Positions& pos2)
{
    const double a = factor_longitude(point.a, pos1, pos2);
    if (point.is_factor()) return std::isfinite(a) ? normalize_dial(a, 360) : a;
    const double b = factor_longitude(point.b, pos1, pos2);
    if (!std::isfinite(a) || !std::isfinite(b)) return std::nan("");
    return nearer_midpoint(a, b);
}

std::vector<DialItem> dial_items(const Positions& pos1, const Positions* pos2, double modulus)
{
    const Positions& second = pos2 != nullptr ? *pos2 : pos1;
    std::vector<DialItem> items;
    items.reserve(every_pair_point().size());
    for (const PairPoint& point : every_pair_point()) {
        if (pos2 == nullptr && touches_person(point, 2)) continue;
        const double a = factor_longitude(point.a, pos1, second);
        const double b = factor_longitude(point.b, pos1, second);
        if (!std::isfinite(a) || !std::isfinite(b)) continue;
        const double longitude = drawn_longitude(point, pos1, second);
        // Below 360 degrees both points of a midpoint stand on one spot: take the plain mean, as
        // the comparisons and their orb tests do.
        const double position =
            modulus == 360 ? longitude : dial_position(point.is_factor() ? a : (a + b) / 2, modulus);
        items.push_back({point, position, longitude, 0, {}});
    }
    return items;
}

std::string item_name(const DialItem& item)
{
    return item.mover.empty() ? point_name(item.point) : item.mover;
}

std::vector<DialItem> sorted_midpoints(const Positions& pos1, const Positions* pos2, double modulus)
{
    std::vector<DialItem> items = dial_items(pos1, pos2, modulus);
    std::stable_sort(items.begin(), items.end(),
                     [](const DialItem& x, const DialItem& y) { return x.position < y.position; });
    return items;
}

PointerTree pointer_tree(const Positions& pos1, const Positions* pos2, double pointer, double orb,
                         double modulus, std::span<const MovingPoint> movers)
{
    PointerTree tree;
    tree.pointer = normalize_dial(pointer, modulus);
    tree.orb = orb;
    tree.modulus = modulus;

    std::vector<DialItem> items = dial_items(pos1, pos2, modulus);
    // A moving point stands on the dial as a factor does: at its longitude's dial position.
    for (const MovingPoint& m : movers) {
        if (!std::isfinite(m.longitude)) continue;
        const double longitude = normalize_dial(m.longitude, 360);
        items.push_back({PairPoint{}, dial_position(longitude, modulus), longitude, 0, m.name});
    }
    std::vector<DialItem> factors;
    std::vector<DialItem> midpoints;
    for (DialItem& item : items) {
        if (!within_dial_orb(item.position, tree.pointer, orb, modulus)) continue;
        item.distance = dial_distance(item.position, tree.pointer, modulus);
        (item.is_factor() ? factors : midpoints).push_back(std::move(item));
    }
    sort_by_distance(factors);
    sort_by_distance(midpoints);

    std::vector<bool> placed(midpoints.size(), false);
    for (const DialItem& factor : factors) {
        TreeBranch branch{factor, {}};
        for (std::size_t i = 0; i < midpoints.size(); ++i) {
            if (!within_dial_orb(midpoints[i].position, factor.position, orb, modulus)) continue;
            DialItem under = midpoints[i];
            under.distance = dial_distance(under.position, factor.position, modulus);
            branch.midpoints.push_back(under);
            placed[i] = true;
        }
        sort_by_distance(branch.midpoints);
        tree.factors.push_back(std::move(branch));
    }
    for (std::size_t i = 0; i < midpoints.size(); ++i)
        if (!placed[i]) tree.midpoints.push_back(midpoints[i]);
    return tree;
}

}  // namespace duoskop
