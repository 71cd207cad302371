#include "astro/un_math.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace duoskop {

double Int(double x) { return std::trunc(x); }

double Frac(double x) { return x - Int(x); }

std::int64_t Trunc(double x)
{
    if (std::isnan(x)) return 0;
    const double t = std::trunc(x);
    if (t >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (t <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(t);
}

double mod225(double x) { return x - Int(x * 10 / 225) * 22.5; }

double mod30(double x) { return x - Int(x / 30) * 30; }

double mod360(double x) { return x - Int(x / 360) * 360; }

double modulo(double v, double m)
{
    double r = m * Frac(v / m);
    if (r < 0) r += m;
    return r;
}

double deg_to_rad(double x) { return x * std::numbers::pi / 180; }

double rad_to_deg(double x) { return x * 180 / std::numbers::pi; }

double sin_deg(double x) { return std::sin(std::numbers::pi * x / 180); }

double cos_deg(double x) { return std::cos(std::numbers::pi * x / 180); }

double tan_rad(double x) { return std::sin(x) / std::cos(x); }

Rect polar_to_rect(double angle, double radius, double zero_substitute)
{
    if (angle == 0) angle = zero_substitute;
    return {radius * std::cos(angle), radius * std::sin(angle)};
}

Polar rect_to_polar(double x, double y, double zero_substitute)
{
    if (y == 0) y = zero_substitute;
    const double radius = std::sqrt(x * x + y * y);
    // The plain arctangent of the quotient; x = 0 gives +-infinity and so +-pi/2.
    double angle = std::atan(y / x);
    if (angle < 0) angle += std::numbers::pi;
    if (y < 0) angle += std::numbers::pi;
    return {radius, angle};
}

double round_over_half(double x) { return Frac(x) > 0.5 ? x + 1 : x; }

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
