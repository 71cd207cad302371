// SPDX-License-Identifier: GPL-3.0-or-later
// The precise longitudes of the Sun, the Moon and Mercury to Pluto from the planetary and lunar
// series of libnova, one body at a terrestrial-time instant. The position table
// (precise_table.h) is fitted to exactly these numbers; the series answer where it does not.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace duoskop {

/// The bodies with precise positions, in chart order.
enum class PreciseBody : std::uint8_t { sun, moon, mercury, venus, mars, jupiter, saturn, uranus, neptune, pluto };
inline constexpr std::size_t precise_body_count = 10;

/// Where each precise body stands in a chart's positions (body_codes order): SO, MO, ME .. PL.
inline constexpr std::size_t precise_position_index[] = {2, 4, 6, 7, 8, 9, 10, 11, 12, 13};
static_assert(std::size(precise_position_index) == precise_body_count);

/// The body of index `i` (0 .. precise_body_count - 1).
constexpr PreciseBody precise_body(std::size_t i) { return static_cast<PreciseBody>(i); }

/// Apparent geocentric ecliptic longitude of `body` for the true equinox of date (light time,
/// aberration, precession and nutation applied), in degrees [0, 360), at the terrestrial-time
/// Julian day `jde`, from libnova's series. Holds the lock that serialises libnova while it works.
double series_longitude(PreciseBody body, double jde);

/// series_longitude of each of `bodies` at `jde` into the same place of `out` (at least as long),
/// sharing the Earth's position and the nutation: the same numbers, bit for bit.
void series_longitudes(double jde, std::span<const PreciseBody> bodies, std::span<double> out);
/// series_longitude of all ten bodies at `jde`, in body order.
std::array<double, precise_body_count> series_longitudes(double jde);

/// The version of the libnova the series come from, such as "0.16.0".
std::string libnova_version();

}  // namespace duoskop
