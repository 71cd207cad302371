// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/un_math.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace duoskop {

std::int64_t Trunc(double x)
{
    if (std::isnan(x)) return 0;
    const double t = std::trunc(x);
    if (t >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (t <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(t);
}

std::string zero_pad(std::uint16_t value, int width)
{
    int digits = 0;
    for (unsigned limit : {0u, 9u, 99u, 999u, 9999u})
        if (value > limit) ++digits;
    std::string text;
    for (int i = digits; i < width; ++i) text += '0';
    if (value > 0) text += std::to_string(value);
    if (text.size() > 6) text.resize(6);
    return text;
}

std::string angle_text(int width, int mode, double x)
{
    const bool negative = x < 0;
    x = std::fabs(x);
    if (mode == 22) x = mod225(x);
    else if (mode == 30) x = mod30(x);
    std::int64_t degrees = Trunc(x);
    const std::int64_t seconds = Trunc(Frac(x) * 3600);
    std::int64_t minutes = Trunc(round_over_half(static_cast<double>(seconds) / 60));
    if (minutes == 60) {
        minutes = 0;
        degrees += 1;
    }
    // Numbers of the text routines are 16-bit words.
    std::string text = zero_pad(static_cast<std::uint16_t>(degrees), width) + "\xB0" +
                       zero_pad(static_cast<std::uint16_t>(minutes), 2) + "'";
    if (negative) text.insert(text.begin(), '-');
    return text;
}

std::string pad_right(std::string_view text, std::size_t width)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string padded(text);
    if (padded.size() < width) padded.append(width - padded.size(), ' ');
    return padded;
}

void append_cut(std::string& text, std::string_view piece)
{
    if (text.size() >= short_text_capacity) return;
    text.append(piece.substr(0, short_text_capacity - text.size()));
}

}  // namespace duoskop
