// SPDX-License-Identifier: GPL-3.0-or-later
// Simple complements in MC-AS axes: for each body n a picture MC/n = AS/m of one person whose
// reversal (the counterpart pair of n on MC/m) the other person has, with the midpoints that lie
// in the orb of both persons' picture axes. Leaves the midpoint counts for the half-sum evaluation.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/comparison_parts.h"
#include "analysis/comparisons.h"
#include "app/dial.h"
#include "base/texts.h"
#include "astro/un_math.h"

namespace duoskop {

namespace {

using namespace comparison_parts;

constexpr std::uint8_t no_mate = 255;

// The first (smallest) mate m of each body and direction, `no_mate` when there is none.
struct SimpleMates {
    std::array<std::uint8_t, compared_bodies> direction1;
    std::array<std::uint8_t, compared_bodies> direction2;
};

SimpleMates collect_simple_complements(const Dial& dial)
{
    SimpleMates mates;
    mates.direction1.fill(no_mate);
    mates.direction2.fill(no_mate);
    for (std::uint8_t n = 0; n < compared_bodies; ++n) {
        const CounterpartPair cp = counterpart_set(n);
        for (std::uint8_t m = 0; m < compared_bodies; ++m) {
            // MC/n = AS/m at P1 and its reversal (counterpart of n = MC/m) at P2, and the other way.
            if (mates.direction1[n] == no_mate && dial.pair_test_simple(0, n, 3, m, 1) &&
                dial.pair_test_simple(cp.pair_first, cp.pair_second, 0, m, 2))
                mates.direction1[n] = m;
            if (mates.direction2[n] == no_mate && dial.pair_test_simple(0, n, 3, m, 2) &&
                dial.pair_test_simple(cp.pair_first, cp.pair_second, 0, m, 1))
                mates.direction2[n] = m;
        }
    }
    return mates;
}

// "AS/m" with the AS last for the four bodies before the Moon: MC/AS, WI/AS, SO/AS, AS/AS.
std::string as_pair(std::uint8_t m) { return m < 4 ? pair_code(m, 3) : pair_code(3, m); }

// Characters 12-16 and 20-24 of a names line joined by "=": the picture formula it begins with.
std::string formula_of(const std::string& names)
{
    if (names.size() < 24) return {};
    return names.substr(11, 5) + "=" + names.substr(19, 5);
}

// The two positions of a picture, placed under the picture's names (which begin at `column`) when
// the positions line already holds those of another picture, else after 11 blanks.
void place_positions(std::string& positions, std::size_t column, const std::string& first,
                     const std::string& second)
{
    if (positions.empty()) {
        positions = std::string(11, ' ');
    } else {
        positions = pad_right(positions, 0);
        positions.append(std::max(column, positions.size() + 1) - positions.size(), ' ');
    }
    append_cut(positions, first + "  " + second + "  ");
}

// What one body leaves for the result list.
struct PictureEntry {
    std::string p1_formula;
    std::string p2_formula;
    std::vector<std::string> p1_midpoints;
    std::vector<std::string> p2_midpoints;
};

}  // namespace

ResultText simple_complements(const ChartState& chart, const Orbs& orbs, FirstTimeFlags& flags,
                              HalfsumCount& halfsum_count)
{
    ResultText result;
    result.analysis_title = texts::kTitleSimples;
    result.caption = texts::kCaptionSimples;

    const Dial dial(chart, orbs);
    const SimpleMates mates = collect_simple_complements(dial);

    result.lines.push_back(persons_line(chart));
    result.lines.emplace_back();
    result.hint = take_hint(flags.hint_simples, texts::kHintSimples);
    for (auto& row : halfsum_count) row.fill(0);

    std::array<PictureEntry, compared_bodies> pictures;
    for (std::uint8_t n = 0; n < compared_bodies; ++n) {
        std::array<std::array<bool, compared_bodies>, compared_bodies> shown{};
        const CounterpartPair cp = counterpart_set(n);
        const std::uint8_t a = cp.pair_first;
        const std::uint8_t b = cp.pair_second;
        BlockLines block;
        block.p1_names = "  Pers.1   ";
        block.p2_names = "  Pers.2   ";
        PictureEntry& picture = pictures[n];
        bool picture_found = false;
        bool midpoint_found = false;

        // Direction 1: MC/n = AS/m at P1, the counterpart of n = MC/m at P2.
        std::uint8_t m = mates.direction1[n];
        if (m != no_mate) {
            picture_found = true;
            append_cut(block.p1_names, pair_code(0, n) + " = " + as_pair(m) + "  ");
            place_positions(block.p1_positions, 11, dial_text(chart.pos1, 0, n), dial_text(chart.pos1, 3, m));
            append_cut(block.p2_names, pair_code(a, b) + " = " + pair_code(0, m));
            place_positions(block.p2_positions, 11, dial_text(chart.pos2, a, b), dial_text(chart.pos2, 0, m));
            picture.p1_formula = formula_of(block.p1_names);
            picture.p2_formula = formula_of(block.p2_names);
            for (std::uint8_t k = 0; k < compared_bodies; ++k) {
                for (std::uint8_t l = k; l < compared_bodies; ++l) {
                    if (dial.pair_test_simple(0, n, k, l, 1) && dial.pair_test_simple(a, b, k, l, 2)) {
                        ++halfsum_count[k][l];
                        shown[k][l] = true;
                        midpoint_found = true;
                    }
                }
            }
        }

        // Direction 2, re-tested with AS/n = MC/m at P2.
        m = mates.direction2[n];
        if (m != no_mate && dial.pair_test_simple(3, n, 0, m, 2)) {
            picture_found = true;
            const std::size_t p1_column = block.p1_names.size();
            const std::size_t p2_column = block.p2_names.size();
            append_cut(block.p1_names, pair_code(a, b) + " = " + pair_code(0, m));
            place_positions(block.p1_positions, p1_column, dial_text(chart.pos1, a, b),
                            dial_text(chart.pos1, 0, m));
            append_cut(block.p2_names, pair_code(0, n) + " = " + (m < 4 ? as_pair(m) : as_pair(m) + "  "));
            place_positions(block.p2_positions, p2_column, dial_text(chart.pos2, 0, n),
                            dial_text(chart.pos2, 3, m));
            picture.p1_formula = formula_of(block.p1_names);
            picture.p2_formula = formula_of(block.p2_names);
            for (std::uint8_t k = 0; k < compared_bodies; ++k) {
                for (std::uint8_t l = k; l < compared_bodies; ++l) {
                    if (dial.pair_test_simple(a, b, k, l, 1) && dial.pair_test_simple(0, n, k, l, 2)) {
                        ++halfsum_count[k][l];
                        shown[k][l] = true;
                        midpoint_found = true;
                    }
                }
            }
        }

        if (!picture_found || !midpoint_found) continue;
        block.p1_midpoints = block.midpoint_names = block.p2_midpoints = std::string(11, ' ');
        for (std::uint8_t k = 0; k < compared_bodies; ++k) {
            for (std::uint8_t l = k; l < compared_bodies; ++l) {
                if (!shown[k][l]) continue;
                block.add_midpoint(chart, k, l);
                const std::string pair = pair_code(k, l);
                picture.p1_midpoints.push_back(picture.p1_formula.substr(0, 6) + pair);
                picture.p2_midpoints.push_back(picture.p2_formula.substr(0, 6) + pair);
            }
        }
        block.move_to(result.lines);
    }

    // The list: per body its P1 formula, its midpoint pictures of both sides in turn, its P2 formula.
    for (const PictureEntry& picture : pictures) {
        // Each entry is one person's picture: the P1 side from person 1, the P2 side from person 2.
        constexpr EntryCharts p1{1, 1, 1, 1};
        constexpr EntryCharts p2{2, 2, 2, 2};
        if (!picture.p1_formula.empty()) result.add_entry(picture.p1_formula, p1);
        for (std::size_t c = 0; c < picture.p1_midpoints.size(); ++c) {
            result.add_entry(picture.p1_midpoints[c], p1);
            result.add_entry(picture.p2_midpoints[c], p2);
        }
        if (!picture.p2_formula.empty()) result.add_entry(picture.p2_formula, p2);
    }
    return result;
}

}  // namespace duoskop
