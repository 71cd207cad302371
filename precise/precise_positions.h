// SPDX-License-Identifier: GPL-3.0-or-later
// Precise positions: the Sun, the Moon and Mercury to Pluto as the sky showed them, from the
// planetary and lunar theories of libnova, instead of the chart computation's own theory.
#pragma once

#include <string>

#include "app/chart_file.h"
#include "astro/bodies.h"

namespace duoskop {

/// Where the positions of SO, MO and ME to PL come from.
enum class PositionSource {
    theory,   ///< the chart computation alone (f_rechnen)
    precise,  ///< SO, MO and ME to PL replaced by apply_precise_positions
};

/// Birth years for which precise positions are computed; outside them the theory's values stay.
inline constexpr int precise_first_year = 1000;
inline constexpr int precise_last_year = 3000;
/// Years in which the Pluto series is valid; outside them PL drifts by tens of arc minutes.
inline constexpr int precise_pluto_first_year = 1885;
inline constexpr int precise_pluto_last_year = 2099;

/// Replaces SO (2), MO (4) and ME to PL (6..13) of `positions`, computed by f_rechnen for `birth`,
/// by their apparent geocentric ecliptic longitudes of the true equinox of date (light time,
/// aberration, precession and nutation applied), degrees in [0, 360). The birth time is universal
/// time, turned into terrestrial time with delta_t_seconds. All other entries stay, and so do all
/// entries for a birth date outside the years precise_first_year..precise_last_year.
/// Safe to call from several threads; they take turns (libnova keeps static caches).
void apply_precise_positions(const BirthData& birth, Positions& positions);

/// The 24 positions of one chart taken from `source`.
Positions chart_positions(const BirthData& birth, PositionSource source);
/// chart_positions with the precise source, as a plain function for callers that take one.
Positions precise_chart_positions(const BirthData& birth);

/// f_rechnen with SO, MO and ME to PL from the precise source, for those who take a chart function.
Positions f_rechnen_precise(const BirthData& birth);

/// holen (chart_file.h) with the positions taken from `source`.
LoadResult holen(const std::string& path, int person, ChartState& state, PositionSource source);

}  // namespace duoskop
