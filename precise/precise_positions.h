// SPDX-License-Identifier: GPL-3.0-or-later
// Precise positions: the Sun, the Moon and Mercury to Pluto as the sky showed them, from the
// planetary and lunar theories of libnova, instead of the chart computation's own theory.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/chart_file.h"
#include "astro/bodies.h"
#include "astro/std_ho.h"
#include "precise/precise_table.h"

namespace duoskop {

/// Where the positions of SO, MO and ME to PL come from.
enum class PositionSource {
    theory,   ///< the chart computation alone (f_rechnen)
    precise,  ///< SO, MO and ME to PL replaced by their precise positions
};

/// Birth years for which precise positions are computed; outside them the theory's values stay.
inline constexpr int precise_first_year = 1000;
inline constexpr int precise_last_year = 3000;
/// Years in which the Pluto series is valid; outside them PL drifts by tens of arc minutes.
inline constexpr int precise_pluto_first_year = 1885;
inline constexpr int precise_pluto_last_year = 2099;

/// The position table the precise positions use: precise.tab in program_data_dir(), opened at
/// the first use. Without a sound table (`table` empty, the reason in `error`, German,
/// Windows-1252) the precise positions come from the series.
struct InstalledTable {
    std::filesystem::path path;
    std::unique_ptr<PreciseTable> table;
    std::string error;
};
const InstalledTable& installed_precise_table();

/// The 24 positions of the chart computation for a universal-time instant and a place, with SO (2),
/// MO (4) and ME to PL (6..13) taken from `source`. This is the one way to positions: chart loads,
/// shifted birth times, the ranking, transits and the ephemeris all come here.
/// With the precise source those ten bodies are their apparent geocentric ecliptic longitudes
/// of the true equinox of date (light time, aberration, precession and nutation applied), degrees
/// in [0, 360), at the terrestrial time instant.julian_day() + delta_t_seconds / 86400: from the
/// installed position table for the years it serves, else from libnova's series
/// (precise_series.h); an instant whose year lies outside precise_first_year..precise_last_year
/// keeps the theory's values. Safe to call from several threads; the table is read without a lock.
Positions positions_at(const ChartInstant& instant, const GeoPlace& place, PositionSource source);
/// positions_at with the precise positions from `table` (none: the series alone) instead of the
/// installed one.
Positions positions_at(const ChartInstant& instant, const GeoPlace& place, PositionSource source,
                       const PreciseTable* table);

/// positions_at for the birth data of a chart file (its instant and place as the chart
/// computation reads them).
Positions chart_positions(const BirthData& birth, PositionSource source);
/// chart_positions with the theory, and with the precise source, as plain functions for callers
/// that take a chart function (holen).
Positions theory_chart_positions(const BirthData& birth);
Positions precise_chart_positions(const BirthData& birth);

/// holen (chart_file.h) with the positions taken from `source`.
LoadResult holen(const std::string& path, int person, ChartState& state, PositionSource source);

}  // namespace duoskop
