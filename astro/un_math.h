// SPDX-License-Identifier: GPL-3.0-or-later
// Angle, number and text routines shared by every part of the program.
// All routines are pure; angles are degrees unless a name says radians. The arithmetic ones are
// inline: the chart computation calls them hundreds of times per chart.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <string>
#include <string_view>

namespace duoskop {

/// x truncated toward zero, as a floating value: Int(-7.8) = -7.0.
inline double Int(double x) { return std::trunc(x); }
/// x - Int(x); carries the sign of x: Frac(-7.8) = -0.8.
inline double Frac(double x) { return x - Int(x); }
/// x truncated toward zero, as an integer (saturates outside the 64-bit range, NaN gives 0).
std::int64_t Trunc(double x);

/// Dial position: x - Int(x*10/225)*22.5 degrees; [0, 22.5) for x >= 0, (-22.5, 0] for x < 0.
inline double mod225(double x) { return x - Int(x * 10 / 225) * 22.5; }
/// x - Int(x/30)*30 degrees; keeps the sign of x.
inline double mod30(double x) { return x - Int(x / 30) * 30; }
/// x - Int(x/360)*360 degrees; keeps the sign of x.
inline double mod360(double x) { return x - Int(x / 360) * 360; }
/// m*Frac(v/m), lifted by m when negative: a value in [0, m) for a positive modulus m.
inline double modulo(double v, double m)
{
    double r = m * Frac(v / m);
    if (r < 0) r += m;
    return r;
}

/// Degrees to radians: x*pi/180.
inline double deg_to_rad(double x) { return x * std::numbers::pi / 180; }
/// Radians to degrees: x*180/pi.
inline double rad_to_deg(double x) { return x * 180 / std::numbers::pi; }
/// Sine of an angle in degrees.
inline double sin_deg(double x) { return std::sin(std::numbers::pi * x / 180); }
/// Cosine of an angle in degrees.
inline double cos_deg(double x) { return std::cos(std::numbers::pi * x / 180); }
/// Tangent of an angle in radians, as sin/cos.
inline double tan_rad(double x) { return std::sin(x) / std::cos(x); }

/// The stand-in for an exact zero angle in polar_to_rect.
inline constexpr double polar_zero_substitute = 1.75453e-9;
/// The stand-in for an exact zero y in rect_to_polar.
inline constexpr double rect_zero_substitute = 1.754533e-9;

struct Rect {
    double x;
    double y;
};
struct Polar {
    double radius;
    double angle;  ///< radians, 0 <= angle < 2*pi
};

/// (radius*cos a, radius*sin a) for the angle a in radians; an angle of exactly 0 becomes `zero_substitute`.
inline Rect polar_to_rect(double angle, double radius, double zero_substitute = polar_zero_substitute)
{
    if (angle == 0) angle = zero_substitute;
    return {radius * std::cos(angle), radius * std::sin(angle)};
}
/// Radius and full-circle direction in [0, 2*pi) of (x, y); a y of exactly 0 becomes `zero_substitute`.
inline Polar rect_to_polar(double x, double y, double zero_substitute = rect_zero_substitute)
{
    if (y == 0) y = zero_substitute;
    const double radius = std::sqrt(x * x + y * y);
    // The plain arctangent of the quotient; x = 0 gives +-infinity and so +-pi/2.
    double angle = std::atan(y / x);
    if (angle < 0) angle += std::numbers::pi;
    if (y < 0) angle += std::numbers::pi;
    return {radius, angle};
}

/// x + 1 when Frac(x) > 0.5, else x: Trunc of it rounds to nearest with .5 going down.
inline double round_over_half(double x) { return Frac(x) > 0.5 ? x + 1 : x; }

/// Decimal text of `value` left-padded with '0' to `width` (1..6); 0 counts as having no digits.
std::string zero_pad(std::uint16_t value, int width);
/// Degrees and rounded minutes such as 05°30' (Windows-1252 degree sign), the angle reduced to
/// the dial (mode 22), to the sign (mode 30) or not at all (mode 1); a negative x gets a leading '-'.
std::string angle_text(int width, int mode, double x);
/// `text` without trailing blanks, padded with blanks to `width`; a longer text comes back trimmed.
std::string pad_right(std::string_view text, std::size_t width);

/// The capacity of a working text or report line in characters.
inline constexpr std::size_t short_text_capacity = 255;
/// Appends `piece` to a working text, cutting the result at 255 characters.
void append_cut(std::string& text, std::string_view piece);

}  // namespace duoskop
