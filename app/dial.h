// Dial arithmetic on the 22.5-degree dial shared by all comparisons, and the search axes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/chart_state.h"

namespace duoskop {

/// Three-letter sign abbreviation of a longitude in degrees (WID..FIS); 360 and above is reduced first.
std::string sign_text(double longitude);

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
/// Holds its own copy of the positions, the axis values and the orbs, so that a Dial made from
/// temporaries stays valid.
class Dial {
public:
    Dial(const ChartState& chart, const Orbs& orbs)
        : pos1_(chart.pos1), pos2_(chart.pos2), axis_value_(chart.axes.axis_value), orbs_(orbs)
    {
    }
    /// Midpoint i/j of the person lies on search axis `axis` within orb_double (strict).
    bool axis_test(std::uint8_t i, std::uint8_t j, int axis, std::uint8_t person) const;
    /// Midpoints i/j and k/l of the person coincide on the dial within orb_simple (strict).
    bool pair_test_simple(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                          std::uint8_t person) const;
    /// As pair_test_simple, with orb_halfsum.
    bool pair_test_halfsum(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                           std::uint8_t person) const;
    /// Dial position of the midpoint a/b of the person, in degrees.
    double midpoint(std::uint8_t a, std::uint8_t b, std::uint8_t person) const;

private:
    Positions pos1_;
    Positions pos2_;
    std::array<double, 6> axis_value_;
    Orbs orbs_;
};

}  // namespace duoskop
