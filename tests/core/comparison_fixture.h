// SPDX-License-Identifier: GPL-3.0-or-later
// Chart pairs for the comparison tests. Bodies that a test does not name stand at NaN: a NaN
// midpoint lies within no orb of anything, so only the named bodies take part in any picture.
#pragma once

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/chart_state.h"
#include "app/dial.h"

namespace duoskop::fixture {

using Bodies = std::initializer_list<std::pair<std::string_view, double>>;

inline void place(Positions& pos, Bodies bodies)
{
    pos.fill(std::nan(""));
    for (const auto& [code, longitude] : bodies)
        for (std::size_t i = 0; i < body_codes.size(); ++i)
            if (body_codes[i] == code) pos[i] = longitude;
}

/// Hans Meier as person 1 and Eva Kunz as person 2 with the named bodies; search axes formed.
inline ChartState chart_pair(Bodies person1, Bodies person2)
{
    ChartState chart;
    chart.person1.name = "Meier";
    chart.person1.first_name = "Hans";
    chart.person2.name = "Kunz";
    chart.person2.first_name = "Eva";
    place(chart.pos1, person1);
    place(chart.pos2, person2);
    form_search_axes(chart.pos1, chart.pos2, chart.axes);
    return chart;
}

/// Windows-1252 bytes of a UTF-8 test literal holding the degree sign: "07°31'" as 6 bytes.
inline std::string cp(std::string_view utf8)
{
    std::string text;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\xC2' && i + 1 < utf8.size() && utf8[i + 1] == '\xB0') {
            text += '\xB0';
            ++i;
        } else {
            text += utf8[i];
        }
    }
    return text;
}

inline std::vector<std::string> cp_lines(std::initializer_list<std::string_view> lines)
{
    std::vector<std::string> result;
    for (std::string_view line : lines) result.push_back(cp(line));
    return result;
}

/// The lines from the first line that starts with `start`, `count` of them (fewer at the end).
inline std::vector<std::string> lines_from(const std::vector<std::string>& lines, std::string_view start,
                                           std::size_t count)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].starts_with(start))
            return {lines.begin() + static_cast<std::ptrdiff_t>(i),
                    lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), i + count))};
    return {};
}

}  // namespace duoskop::fixture
