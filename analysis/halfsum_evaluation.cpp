// SPDX-License-Identifier: GPL-3.0-or-later
// The MC-AS half-sum evaluation: every midpoint that occurred in at least two simple complements,
// with all MC and counterpart axes of both persons in whose orb it lies.
#include <array>
#include <cstdint>
#include <string>

#include "analysis/comparison_parts.h"
#include "analysis/comparisons.h"
#include "app/dial.h"
#include "base/texts.h"
#include "astro/std_ho.h"
#include "astro/un_math.h"

namespace duoskop {

namespace {

using namespace comparison_parts;

// The seven lines of one set of columns, each column 8 characters wide.
BlockLines column_lines(std::string_view p1_start, std::string_view p2_start)
{
    const std::string blanks10(10, ' ');
    return {std::string(p1_start), blanks10, blanks10, blanks10, blanks10, std::string(p2_start), blanks10};
}

// One side of an occurrence: the axis pair, its house number and its dial position.
struct AxisSide {
    std::string axis;
    int house = 0;
    double position = 0;
};

AxisSide mc_side(const Positions& pos, std::uint8_t i)
{
    return {pair_code(0, i), house_number(0, i, pos[0], pos[i]), (pos[0] + pos[i]) / 2};
}

AxisSide counterpart_side(const Positions& pos, CounterpartPair cp)
{
    const std::uint8_t a = cp.pair_first;
    const std::uint8_t b = cp.pair_second;
    return {pair_code(a, b), house_number(a, b, pos[a], pos[b]), (pos[a] + pos[b]) / 2};
}

std::string axis_column(const AxisSide& side)
{
    return side.axis + zero_pad(static_cast<std::uint16_t>(side.house), 2) + " ";
}

}  // namespace

ResultText halfsum_evaluation(const ChartState& chart, const Orbs& orbs,
                              const HalfsumCount& halfsum_count)
{
    ResultText result;
    result.analysis_title = texts::kTitleHalfsums;
    result.caption = texts::kCaptionHalfsums;
    result.lines.push_back(persons_line(chart));
    result.lines.emplace_back();

    const Dial dial(chart, orbs);
    BlockLines first = column_lines("  Pers.1  ", "  Pers.2  ");
    BlockLines continued = column_lines("          ", "          ");
    std::uint64_t count = 0;

    for (std::uint8_t k = 0; k < compared_bodies; ++k) {
        for (std::uint8_t l = k; l < compared_bodies; ++l) {
            if (halfsum_count[k][l] < 2) continue;
            const std::string pair = pair_code(k, l);
            for (std::uint8_t i = 0; i < compared_bodies; ++i) {
                const CounterpartPair cp = counterpart_set(i);
                const bool alt1 = dial.pair_test_halfsum(0, i, k, l, 1) &&
                                  dial.pair_test_halfsum(cp.pair_first, cp.pair_second, k, l, 2);
                const bool alt2 = dial.pair_test_halfsum(0, i, k, l, 2) &&
                                  dial.pair_test_halfsum(cp.pair_first, cp.pair_second, k, l, 1);
                if (!alt1 && !alt2) continue;
                ++count;
                BlockLines& lines = count <= 8 ? first : continued;
                // alt1 wins when both hold: MC/i at P1 against the counterpart pair at P2.
                const AxisSide p1 = alt1 ? mc_side(chart.pos1, i) : counterpart_side(chart.pos1, cp);
                const AxisSide p2 = alt1 ? counterpart_side(chart.pos2, cp) : mc_side(chart.pos2, i);

                append_cut(lines.p1_names, axis_column(p1));
                append_cut(lines.p1_positions, angle_text(2, 22, p1.position) + "  ");
                append_cut(lines.p2_names, axis_column(p2));
                append_cut(lines.p2_positions, angle_text(2, 22, p2.position) + "  ");
                lines.add_midpoint(chart, k, l);

                result.add_entry(p1.axis + "=" + pair, {1, 1, 1, 1});
                result.add_entry(p2.axis + "=" + pair, {2, 2, 2, 2});
            }
        }
    }

    // Each part of the first columns, followed by the same part of the continuation columns.
    const bool has_continuation = count > 8;
    auto& out = result.lines;
    const auto put = [&](std::initializer_list<std::string BlockLines::*> part) {
        for (const auto line : part) out.push_back(first.*line);
        if (!has_continuation) return;
        out.emplace_back();
        for (const auto line : part) out.push_back(continued.*line);
    };
    put({&BlockLines::p1_names, &BlockLines::p1_positions});
    out.emplace_back();
    put({&BlockLines::p1_midpoints, &BlockLines::midpoint_names, &BlockLines::p2_midpoints});
    out.emplace_back();
    put({&BlockLines::p2_names, &BlockLines::p2_positions});
    return result;
}

}  // namespace duoskop
