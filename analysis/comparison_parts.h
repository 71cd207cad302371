// Pieces of text and arithmetic that the five comparisons share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace duoskop::comparison_parts
