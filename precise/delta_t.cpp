// SPDX-License-Identifier: GPL-3.0-or-later
#include "precise/delta_t.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace duoskop {

namespace {

// Delta T in seconds on 1 January of 2005, 2006, ..., 2025 (IERS observations).
constexpr double observed_first_year = 2005;
constexpr std::array<double, 21> observed = {
    64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60, 66.91, 67.28, 67.64,
    68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20, 69.18, 69.14};
static_assert(observed.size() == 2025 - 2005 + 1);

// c[0] + c[1] t + c[2] t^2 + ... by Horner's rule.
template <std::size_t N>
double poly(const std::array<double, N>& c, double t)
{
    double sum = 0;
    for (std::size_t i = N; i-- > 0;) sum = sum * t + c[i];
    return sum;
}

}  // namespace

double delta_t_seconds(double y)
{
    if (y < -500) {
        const double u = (y - 1820) / 100;
        return -20 + 32 * u * u;
    }
    if (y < 500)
        return poly(std::array{10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521},
                    y / 100);
    if (y < 1600)
        return poly(std::array{1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073},
                    (y - 1000) / 100);
    if (y < 1700) return poly(std::array{120.0, -0.9808, -0.01532, 1.0 / 7129}, y - 1600);
    if (y < 1800) return poly(std::array{8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000}, y - 1700);
    if (y < 1860)
        return poly(std::array{13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                               -0.0000001699, 0.000000000875},
                    y - 1800);
    if (y < 1900)
        return poly(std::array{7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174}, y - 1860);
    if (y < 1920) return poly(std::array{-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197}, y - 1900);
    if (y < 1941) return poly(std::array{21.20, 0.84493, -0.076100, 0.0020936}, y - 1920);
    if (y < 1961) return poly(std::array{29.07, 0.407, -1.0 / 233, 1.0 / 2547}, y - 1950);
    if (y < 1986) return poly(std::array{45.45, 1.067, -1.0 / 260, -1.0 / 718}, y - 1975);
    if (y < observed_first_year)
        return poly(std::array{63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}, y - 2000);
    const double last_year = observed_first_year + static_cast<double>(observed.size() - 1);
    if (y < last_year) {
        const double t = y - observed_first_year;
        const auto i = static_cast<std::size_t>(t);
        return observed[i] + (t - static_cast<double>(i)) * (observed[i + 1] - observed[i]);
    }
    const double u = (y - last_year) / 100;
    return observed.back() + 32.5 * u * u;
}

}  // namespace duoskop
