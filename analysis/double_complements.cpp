// SPDX-License-Identifier: GPL-3.0-or-later
// Double complements in the six MC and SO search axes: a body whose MC pair of one person and
// counterpart pair of the other person lie in a pair of search axes, together with a body for
// which the persons exchange these roles.
#include <array>
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

constexpr int axis_count = 6;

// double_marks[axis][list][body]: set when the body has that pair in that axis.
//  list 0: MC pair of P1 in this axis, counterpart pair of P2 in some axis
//  list 1: counterpart pair of P2 in this axis, MC pair of P1 in some axis
//  list 2: MC pair of P2 in this axis, counterpart pair of P1 in some axis
//  list 3: counterpart pair of P1 in this axis, MC pair of P2 in some axis
using DoubleMarks = std::array<std::array<std::array<bool, compared_bodies>, 4>, axis_count>;

DoubleMarks mark_double_complements(const Dial& dial)
{
    DoubleMarks marks{};
    for (std::uint8_t n = 0; n < compared_bodies; ++n) {
        const CounterpartPair cp = counterpart_set(n);
        for (int i = 0; i < axis_count; ++i) {
            if (dial.axis_test(0, n, i, 1)) {
                for (int j = 0; j < axis_count; ++j) {
                    if (dial.axis_test(cp.pair_first, cp.pair_second, j, 2)) {
                        marks[i][0][n] = true;
                        marks[j][1][n] = true;
                    }
                }
            }
            if (dial.axis_test(0, n, i, 2)) {
                for (int j = 0; j < axis_count; ++j) {
                    if (dial.axis_test(cp.pair_first, cp.pair_second, j, 1)) {
                        marks[i][2][n] = true;
                        marks[j][3][n] = true;
                    }
                }
            }
        }
    }
    return marks;
}

// The picture axis of a search axis: "MC1/MC2" gives "MC/MC=".
std::string picture_axis(const std::string& axis_name)
{
    std::string axis = axis_name.substr(0, 2);
    if (axis_name.size() > 3) axis += axis_name.substr(3, 3);
    return axis + "=";
}

// The charts of an entry on search axis `axis` (MC1/MC1 .. SO2/SO2) whose midpoint comes from
// `person`: the axis joins person 1 with itself, both persons, or person 2 with itself.
EntryCharts entry_charts(int axis, std::uint8_t person)
{
    const std::uint8_t a = axis % 3 == 2 ? 2 : 1;
    const std::uint8_t b = axis % 3 == 0 ? 1 : 2;
    return {a, b, person, person};
}

// One block for the P1 axis i and the P2 axis j, written only when both directions have a body.
void write_block(const ChartState& chart, const Dial& dial, const DoubleMarks& marks, int i, int j,
                 ResultText& result)
{
    bool any_x = false;
    bool any_y = false;
    for (int n = 0; n < compared_bodies; ++n) {
        any_x = any_x || (marks[i][0][n] && marks[j][1][n]);
        any_y = any_y || (marks[i][3][n] && marks[j][2][n]);
    }
    if (!any_x || !any_y) return;

    const SearchAxes& axes = chart.axes;
    const std::string e_i = picture_axis(axes.axis_name[i]);
    const std::string e_j = picture_axis(axes.axis_name[j]);
    const std::string blanks13(13, ' ');

    BlockLines block;
    block.p1_names = "  Pers.1    " + axes.axis_name[i] + " = ";
    block.p1_positions = blanks13 + angle_text(2, 1, axes.axis_value[i]) + "   ";
    block.p2_names = "  Pers.2    " + axes.axis_name[j] + " = ";
    block.p2_positions = blanks13 + angle_text(2, 1, axes.axis_value[j]) + "   ";

    for (std::uint8_t n = 0; n < compared_bodies; ++n) {
        const bool in_x = marks[i][0][n] && marks[j][1][n];
        const bool in_y = marks[i][3][n] && marks[j][2][n];
        if (!in_x && !in_y) continue;
        const CounterpartPair cp = counterpart_set(n);
        const std::string mc_pair = pair_code(0, n);
        const std::string counterpart = pair_code(cp.pair_first, cp.pair_second);
        if (in_x) {
            append_cut(block.p1_names, mc_pair + "1  ");
            append_cut(block.p1_positions, dial_text(chart.pos1, 0, n) + "  ");
            append_cut(block.p2_names, counterpart + "2  ");
            append_cut(block.p2_positions, dial_text(chart.pos2, cp.pair_first, cp.pair_second) + "  ");
        }
        if (in_y) {
            append_cut(block.p1_names, counterpart + "1  ");
            append_cut(block.p1_positions, dial_text(chart.pos1, cp.pair_first, cp.pair_second) + "  ");
            append_cut(block.p2_names, mc_pair + "2  ");
            append_cut(block.p2_positions, dial_text(chart.pos2, 0, n) + "  ");
        }
        if (in_x) result.add_entry(e_i + mc_pair, entry_charts(i, 1));
        if (in_y) result.add_entry(e_i + counterpart, entry_charts(i, 1));
        if (in_x) result.add_entry(e_j + counterpart, entry_charts(j, 2));
        if (in_y) result.add_entry(e_j + mc_pair, entry_charts(j, 2));
    }

    // Midpoints that both persons have in their axis of this block.
    block.p1_midpoints = block.midpoint_names = block.p2_midpoints = blanks13;
    for (std::uint8_t k = 0; k < compared_bodies; ++k) {
        for (std::uint8_t l = k; l < compared_bodies; ++l) {
            if (!dial.axis_test(k, l, i, 1) || !dial.axis_test(k, l, j, 2)) continue;
            block.add_midpoint(chart, k, l);
            const std::string pair = pair_code(k, l);
            result.add_entry(e_i + pair, entry_charts(i, 1));
            if (e_j != e_i) result.add_entry(e_j + pair, entry_charts(j, 2));
        }
    }
    block.move_to(result.lines);
}

}  // namespace

ResultText double_complements(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags)
{
    ResultText result;
    result.analysis_title = texts::kTitleDoubles;
    result.caption = texts::kCaptionDoubles;
    result.hint = take_hint(flags.hint_doubles, texts::kHintDoubles);

    const Dial dial(chart, orbs);
    const DoubleMarks marks = mark_double_complements(dial);

    result.lines.push_back(persons_line(chart));
    result.lines.emplace_back();
    for (int i = 0; i < axis_count; ++i)
        for (int j = 0; j < axis_count; ++j) write_block(chart, dial, marks, i, j, result);
    return result;
}

}  // namespace duoskop
