// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dial.h"

#include <cmath>

#include "astro/un_math.h"

namespace duoskop {

std::string sign_text(double longitude)
{
    // Sun and Moon can lie a few arc seconds above 360: reduce them to WID first.
    if (longitude >= 360) longitude = mod360(longitude);
    const std::int64_t start = 3 * Trunc(longitude / 30 + 1);  // counted from 1
    if (start < 1 || start + 2 > static_cast<std::int64_t>(sign_abbrev.size())) return "   ";
    return std::string(sign_abbrev.substr(static_cast<std::size_t>(start - 1), 3));
}

std::string position_text(double longitude)
{
    return angle_text(2, 30, longitude) + " " + sign_text(longitude);
}

void form_search_axes(const Positions& pos1, const Positions& pos2, SearchAxes& axes)
{
    axes.axis_value = {mod225(pos1[0]), mod225((pos1[0] + pos2[0]) / 2), mod225(pos2[0]),
                       mod225(pos1[2]), mod225((pos1[2] + pos2[2]) / 2), mod225(pos2[2])};
    axes.axis_name = {"MC1/MC1", "MC1/MC2", "MC2/MC2", "SO1/SO1", "SO1/SO2", "SO2/SO2"};
}

namespace {

// "MC 05°30' KRE = 05°30' (22,5)" for one longitude.
std::string mc_or_sun_piece(double longitude)
{
    return angle_text(2, 30, longitude) + " " + sign_text(longitude) + " = " +
           angle_text(2, 22, longitude) + " (22,5)";
}

std::string person_line(std::string_view start, const Positions& pos)
{
    return std::string(start) + mc_or_sun_piece(pos[0]) + "      SO " + mc_or_sun_piece(pos[2]);
}

}  // namespace

std::vector<std::string> search_axis_lines(const Positions& pos1, const Positions& pos2,
                                           const SearchAxes& axes)
{
    const auto a = [&](int index) { return angle_text(2, 1, axes.axis_value[index]); };
    return {
        " Die Vorgaben f\xFCr die Suche nach Erg\xE4nzungen:",
        person_line(" Person 1:   MC ", pos1),
        person_line(" Person 2:   MC ", pos2),
        " MC-Suchachsen    MC1/MC1 " + a(0) + "   MC1/MC2 " + a(1) + "   MC2/MC2 " + a(2),
        " SO-Suchachsen    SO1/SO1 " + a(3) + "   SO1/SO2 " + a(4) + "   SO2/SO2 " + a(5),
    };
}

CounterpartPair counterpart_set(std::uint8_t k)
{
    switch (k) {
    case 0: return {3, 3};  // MC/MC becomes AS/AS
    case 1: return {1, 3};  // MC/WI becomes WI/AS
    case 2: return {2, 3};  // MC/SO becomes SO/AS
    case 3: return {0, 3};  // MC/AS stays MC/AS
    default: return {3, k};
    }
}

Dial::Dial(const ChartState& chart, const Orbs& orbs)
    : midpoints1_{}, midpoints2_{}, axis_value_(chart.axes.axis_value), orbs_(orbs)
{
    // Every test asks for midpoints many times over: form each one once.
    for (std::size_t a = 0; a < 24; ++a) {
        for (std::size_t b = a; b < 24; ++b) {
            midpoints1_[a][b] = midpoints1_[b][a] = mod225((chart.pos1[a] + chart.pos1[b]) / 2);
            midpoints2_[a][b] = midpoints2_[b][a] = mod225((chart.pos2[a] + chart.pos2[b]) / 2);
        }
    }
}

}  // namespace duoskop
