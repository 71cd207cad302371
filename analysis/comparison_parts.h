// SPDX-License-Identifier: GPL-3.0-or-later
// Pieces of text and arithmetic that the five comparisons share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"

namespace duoskop::comparison_parts {

/// The two-letter code of body `index`.
inline std::string_view code(std::uint8_t index) { return body_codes[index]; }

/// "AA/BB": the codes of two bodies joined by a slash.
std::string pair_code(std::uint8_t a, std::uint8_t b);

/// The positions of person 1 for a selector of 1, else those of person 2.
inline const Positions& positions_of(const ChartState& chart, std::uint8_t person)
{
    return person == 1 ? chart.pos1 : chart.pos2;
}

/// Dial position of the midpoint a/b in `pos` as a six-character text such as 07°31'.
std::string dial_text(const Positions& pos, std::uint8_t a, std::uint8_t b);

/// "  FIRST1 NAME1,   FIRST2 NAME2": the header line of the double and simple complements
/// and of the half-sum evaluation.
std::string persons_line(const ChartState& chart);

/// The seven lines of a block of the double and simple complements and of the half-sum
/// evaluation: the axes of person 1 and their positions, the midpoints both persons have (P1
/// positions, names, P2 positions), the axes of person 2 and their positions.
struct BlockLines {
    std::string p1_names;
    std::string p1_positions;
    std::string p1_midpoints;
    std::string midpoint_names;
    std::string p2_midpoints;
    std::string p2_names;
    std::string p2_positions;

    /// Adds the midpoint k/l of both persons as one column of the three midpoint lines.
    void add_midpoint(const ChartState& chart, std::uint8_t k, std::uint8_t l);
    /// Moves the lines into `out`, blank lines between the three parts, closed by "........." and
    /// a blank line.
    void move_to(std::vector<std::string>& out);
};

}  // namespace duoskop::comparison_parts
