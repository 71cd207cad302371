// SPDX-License-Identifier: GPL-3.0-or-later
// The MC-AS list: for every body k the midpoints on which MC/k of one person and the counterpart
// pair of k of the other person fall together, each in its own chart, as a two-sided table.
#include <cstdint>
#include <string>

#include "analysis/comparison_parts.h"
#include "analysis/comparisons.h"
#include "app/dial.h"
#include "base/texts.h"
#include "astro/un_math.h"

namespace duoskop {

namespace {

using namespace comparison_parts;

constexpr std::size_t left_half_width = 35;

}  // namespace

ResultText mc_as_list(const ChartState& chart, const Orbs& orbs)
{
    ResultText result;
    result.analysis_title = texts::kTitleMcAsList;
    result.caption = texts::kCaptionMcAsList;

    const Positions& pos1 = chart.pos1;
    const Positions& pos2 = chart.pos2;
    // Person 2's name starts in column 39, above the right side of the table.
    result.lines.push_back("  " + pad_right(chart.person1.first_name + " " + chart.person1.name, 36) +
                           chart.person2.first_name + " " + chart.person2.name);

    const Dial dial(chart, orbs);
    for (std::uint8_t k = 0; k < compared_bodies; ++k) {
        const CounterpartPair cp = counterpart_set(k);
        const std::uint8_t a = cp.pair_first;
        const std::uint8_t b = cp.pair_second;
        const std::string mc_pair = pair_code(0, k);
        const std::string counterpart = pair_code(a, b);
        bool header_pending = true;
        for (std::uint8_t m = 0; m < compared_bodies; ++m) {
            for (std::uint8_t j = m; j < compared_bodies; ++j) {
                const bool left = dial.pair_test_simple(0, k, m, j, 1) && dial.pair_test_simple(a, b, m, j, 2);
                const bool right = dial.pair_test_simple(0, k, m, j, 2) && dial.pair_test_simple(a, b, m, j, 1);
                if (!left && !right) continue;
                if (header_pending) {
                    result.lines.emplace_back();
                    result.lines.push_back("  " + mc_pair + "1  " + counterpart + "2   " +
                                           dial_text(pos1, 0, k) + "   " + dial_text(pos2, a, b) + "    " +
                                           mc_pair + "2  " + counterpart + "1   " + dial_text(pos2, 0, k) +
                                           "   " + dial_text(pos1, a, b));
                    result.lines.push_back("  " + std::string(68, '-'));
                    header_pending = false;
                }
                const std::string pair = pair_code(m, j);
                std::string line = left ? "  " + pair + "   " + pair + "    " + dial_text(pos1, m, j) +
                                              "   " + dial_text(pos2, m, j) + " "
                                        : std::string(left_half_width, ' ');
                line += "   ";
                if (right)
                    line += pair + "   " + pair + "    " + dial_text(pos2, m, j) + "   " + dial_text(pos1, m, j);
                if (left && right) {
                    line += " >>>";
                    // Both persons have the picture; the left side, person 1's, stands for it.
                    result.add_entry("MC/" + std::string(code(k)) + "=" + pair, {1, 1, 1, 1});
                }
                result.lines.push_back(std::move(line));
            }
        }
    }
    return result;
}

}  // namespace duoskop
