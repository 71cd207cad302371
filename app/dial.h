// SPDX-License-Identifier: GPL-3.0-or-later
// Dial arithmetic on the 22.5-degree dial shared by all comparisons, and the search axes.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/chart_state.h"

namespace duoskop {

/// Three-letter sign abbreviation of a longitude in degrees (WID..FIS); 360 and above is reduced first.
std::string sign_text(double longitude);

/// A longitude as the program writes positions: degrees within the sign, rounded minutes and
/// the sign, such as "05°30' KRE" (Windows-1252).
std::string position_text(double longitude);

/// Forms the six search axes from the MCs and Suns of both persons.
void form_search_axes(const Positions& pos1, const Positions& pos2, SearchAxes& axes);

/// The five lines of the main window's search-axis block (Windows-1252).
std::vector<std::string> search_axis_lines(const Positions& pos1, const Positions& pos2,
                                           const SearchAxes& axes);

/// The pair that MC/k becomes when MC and AS exchange roles, smaller index first.
struct CounterpartPair {
    std::uint8_t pair_first = 0;
    std::uint8_t pair_second = 0;
};
CounterpartPair counterpart_set(std::uint8_t k);

/// The dial tests of one chart pair; person 1 selects pos1, any other value pos2.
/// Holds its own table of the dial positions of all midpoints of both persons (taken at
/// construction), the axis values and the orbs, so that a Dial made from temporaries stays valid.
class Dial {
public:
    Dial(const ChartState& chart, const Orbs& orbs);
    /// Midpoint i/j of the person lies on search axis `axis` within orb_double (strict).
    bool axis_test(std::uint8_t i, std::uint8_t j, int axis, std::uint8_t person) const
    {
        return within_orb(midpoint(i, j, person), axis_value_[static_cast<std::size_t>(axis)],
                          orbs_.orb_double);
    }
    /// Midpoints i/j and k/l of the person coincide on the dial within orb_simple (strict).
    bool pair_test_simple(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                          std::uint8_t person) const
    {
        return within_orb(midpoint(i, j, person), midpoint(k, l, person), orbs_.orb_simple);
    }
    /// As pair_test_simple, with orb_halfsum.
    bool pair_test_halfsum(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                           std::uint8_t person) const
    {
        return within_orb(midpoint(i, j, person), midpoint(k, l, person), orbs_.orb_halfsum);
    }
    /// Dial position of the midpoint a/b of the person, in degrees.
    double midpoint(std::uint8_t a, std::uint8_t b, std::uint8_t person) const
    {
        return (person == 1 ? midpoints1_ : midpoints2_)[a][b];
    }

private:
    /// True when two dial positions lie closer than the orb, across the 0/22.5 seam included.
    static bool within_orb(double a, double b, double orb)
    {
        const double d = std::fabs(a - b);
        return d < orb || d > 22.5 - orb;
    }

    using MidpointTable = std::array<std::array<double, 24>, 24>;
    MidpointTable midpoints1_;  ///< mod225((pos1[a] + pos1[b]) / 2) at [a][b]
    MidpointTable midpoints2_;
    std::array<double, 6> axis_value_;
    Orbs orbs_;
};

}  // namespace duoskop
