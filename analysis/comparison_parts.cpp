// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/comparison_parts.h"

#include "analysis/comparisons.h"
#include "astro/un_math.h"

namespace duoskop {

std::string take_hint(bool& flag, std::string_view text)
{
    if (!flag) return {};
    flag = false;
    return std::string(text);
}

namespace comparison_parts {

std::string pair_code(std::uint8_t a, std::uint8_t b)
{
    std::string text(code(a));
    text += '/';
    text += code(b);
    return text;
}

std::string dial_text(const Positions& pos, std::uint8_t a, std::uint8_t b)
{
    return angle_text(2, 22, (pos[a] + pos[b]) / 2);
}

std::string persons_line(const ChartState& chart)
{
    std::string line = "  ";
    append_cut(line, chart.person1.first_name + " " + chart.person1.name + ",   ");
    append_cut(line, chart.person2.first_name + " " + chart.person2.name);
    return line;
}

void BlockLines::add_midpoint(const ChartState& chart, std::uint8_t k, std::uint8_t l)
{
    append_cut(p1_midpoints, dial_text(chart.pos1, k, l) + "  ");
    append_cut(midpoint_names, pair_code(k, l) + "   ");
    append_cut(p2_midpoints, dial_text(chart.pos2, k, l) + "  ");
}

void BlockLines::move_to(std::vector<std::string>& out)
{
    for (std::string* line : {&p1_names, &p1_positions}) out.push_back(std::move(*line));
    out.emplace_back();
    for (std::string* line : {&p1_midpoints, &midpoint_names, &p2_midpoints}) out.push_back(std::move(*line));
    out.emplace_back();
    for (std::string* line : {&p2_names, &p2_positions}) out.push_back(std::move(*line));
    out.emplace_back(".........");
    out.emplace_back();
}

}  // namespace comparison_parts
}  // namespace duoskop
