// SPDX-License-Identifier: GPL-3.0-or-later
// The solar axes comparison: every midpoint of each person that lies on the axis SO1/SO2, for
// persons whose birth times, and so their MC and AS, are unknown.
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

constexpr int solar_axis = 4;  // SO1/SO2
constexpr int hits_per_block = 7;

}  // namespace

ResultText solar_axes(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags)
{
    ResultText result;
    result.analysis_title = texts::kTitleSolar;
    result.caption = texts::kCaptionSolar;
    result.hint = take_hint(flags.hint_solar, texts::kHintSolar);

    const Dial dial(chart, orbs);
    for (std::uint8_t person = 1; person <= 2; ++person) {
        const Positions& pos = positions_of(chart, person);
        const chart_record& record = person == 1 ? chart.person1 : chart.person2;
        std::string pair_line = "  ";
        std::string position_line = "  ";
        int block_count = 0;
        bool header_pending = true;
        for (std::uint8_t i = 0; i < compared_bodies; ++i) {
            for (std::uint8_t j = i; j < compared_bodies; ++j) {
                const bool own_hit = dial.axis_test(i, j, solar_axis, person);
                // The header is due at the first pair that lies on the axis in either chart.
                if (!own_hit && !dial.axis_test(i, j, solar_axis, person == 1 ? 2 : 1)) continue;
                if (header_pending) {
                    result.lines.emplace_back();
                    result.lines.push_back("  " + record.first_name + " " + record.name);
                    result.lines.emplace_back();
                    result.lines.push_back("  SO1/SO2,  " +
                                           angle_text(2, 22, (chart.pos1[2] + chart.pos2[2]) / 2));
                    result.lines.push_back("  " + std::string(61, '-'));
                    header_pending = false;
                }
                if (!own_hit) continue;
                const std::string pair = pair_code(i, j);
                const auto house = static_cast<std::uint16_t>(house_number(i, j, pos[i], pos[j]));
                append_cut(pair_line, pair + zero_pad(house, 2) + "  ");
                append_cut(position_line, dial_text(pos, i, j) + "   ");
                // SO/SO is the axis SO1/SO2 of both Suns; the midpoint is the person's own.
                result.add_entry("SO/SO=" + pair, {1, 2, person, person});
                if (++block_count == hits_per_block) {
                    result.lines.push_back(pair_line);
                    result.lines.push_back(position_line);
                    result.lines.emplace_back();
                    pair_line = "  ";
                    position_line = "  ";
                    block_count = 0;
                }
            }
        }
        if (block_count > 0) {
            result.lines.push_back(pair_line);
            result.lines.push_back(position_line);
            result.lines.emplace_back();
        }
    }
    return result;
}

}  // namespace duoskop
