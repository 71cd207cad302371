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

namespace {

// True when two dial positions lie closer than the orb, across the 0/22.5 seam included.
bool within_orb(double a, double b, double orb)
{
    const double d = std::fabs(a - b);
    return d < orb || d > 22.5 - orb;
}

}  // namespace

double Dial::midpoint(std::uint8_t a, std::uint8_t b, std::uint8_t person) const
{
    const Positions& p = person == 1 ? pos1_ : pos2_;
    const double mean = (p[a] + p[b]) / 2;
    return mod225(mean);
}

bool Dial::axis_test(std::uint8_t i, std::uint8_t j, int axis, std::uint8_t person) const
{
    return within_orb(midpoint(i, j, person), axis_value_[static_cast<std::size_t>(axis)],
                      orbs_.orb_double);
}

bool Dial::pair_test_simple(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                            std::uint8_t person) const
{
    return within_orb(midpoint(i, j, person), midpoint(k, l, person), orbs_.orb_simple);
}

bool Dial::pair_test_halfsum(std::uint8_t i, std::uint8_t j, std::uint8_t k, std::uint8_t l,
                             std::uint8_t person) const
{
    return within_orb(midpoint(i, j, person), midpoint(k, l, person), orbs_.orb_halfsum);
}

}  // namespace duoskop
