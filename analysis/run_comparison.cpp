// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/comparisons.h"

namespace duoskop {

ResultText run_comparison(Comparison comparison, const ChartState& chart, const Orbs& orbs)
{
    FirstTimeFlags flags;
    HalfsumCount halfsum_count{};
    switch (comparison) {
    case Comparison::solar: return solar_axes(chart, orbs, flags);
    case Comparison::doubles: return double_complements(chart, orbs, flags);
    case Comparison::simples: return simple_complements(chart, orbs, flags, halfsum_count);
    case Comparison::halfsums:
        simple_complements(chart, orbs, flags, halfsum_count);
        return halfsum_evaluation(chart, orbs, halfsum_count);
    case Comparison::list: return mc_as_list(chart, orbs);
    }
    return {};
}

}  // namespace duoskop
