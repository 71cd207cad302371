// SPDX-License-Identifier: GPL-3.0-or-later
// The five comparisons of two charts on the 22.5-degree dial.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/chart_state.h"
#include "results/result_text.h"

namespace duoskop {

/// The hint text when `flag` is set (and clears it), else an empty text.
std::string take_hint(bool& flag, std::string_view text);

/// Double complements in the six MC and SO search axes, with orb_double.
ResultText double_complements(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags);
/// Simple complements in MC-AS axes, with orb_simple; leaves the midpoint counts in `halfsum_count`.
ResultText simple_complements(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags,
                              HalfsumCount& halfsum_count);
/// The MC-AS half-sum evaluation of the counts the simple complements left, with orb_halfsum.
/// Its hint is taken by the caller before it asks for the orb.
ResultText halfsum_evaluation(const ChartState& chart, const Orbs& orbs,
                              const HalfsumCount& halfsum_count);
/// The solar axes comparison in the axis SO1/SO2, with orb_double.
ResultText solar_axes(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags);
/// The MC-AS list of pictures both persons have, with orb_simple.
ResultText mc_as_list(const ChartState& chart, const Orbs& orbs);

/// The five comparisons of the menu.
enum class Comparison { solar, doubles, simples, halfsums, list };
inline constexpr std::array<Comparison, 5> all_comparisons = {
    Comparison::solar, Comparison::doubles, Comparison::simples, Comparison::halfsums,
    Comparison::list};

/// Runs one comparison for a pair of charts as its menu entry does, with first-time flags of its
/// own; the half-sum evaluation first runs the simple complements for its counts. Safe from any
/// thread.
ResultText run_comparison(Comparison comparison, const ChartState& chart, const Orbs& orbs);

}  // namespace duoskop
