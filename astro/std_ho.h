// SPDX-License-Identifier: GPL-3.0-or-later
// The chart computation: Julian time, obliquity, sidereal angle, MC and AS, Sun, Moon and node,
// Mercury to Pluto, the eight transneptunian points and the galactic centre.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/bodies.h"

namespace duoskop {

/// A universal-time instant as the chart computation takes it. The Julian day is kept in two
/// parts, 0h of the date and the hours since, so that a chart file's time enters the computation
/// exactly as it always has; the year of the date moves the galactic centre.
struct ChartInstant {
    double jd0 = 0;         ///< Julian day of 0h UT on the date (a day number minus 0.5)
    double hours = 0;       ///< universal time since jd0, hours (a chart file allows up to 99)
    std::int32_t year = 0;  ///< the year of the date
    /// The Julian day (UT) of the instant: jd0 + hours / 24.
    double julian_day() const { return jd0 + hours / 24; }
    bool operator==(const ChartInstant&) const = default;
};

/// Where on the Earth a chart is cast.
struct GeoPlace {
    double geo_longitude = 0;  ///< degrees, east positive
    double geo_latitude = 0;   ///< degrees, north positive
    bool operator==(const GeoPlace&) const = default;
};

/// The instant of a chart file's birth data as the chart computation reads it: the Julian day of
/// 0h on the birth date (chart_julian_day0, any field values), the birth time in hours and the year.
ChartInstant chart_instant(const BirthData& birth);

/// The place of a chart file's birth data.
inline GeoPlace chart_place(const BirthData& birth) { return {birth.geo_longitude, birth.geo_latitude}; }

/// The instant of a Julian day of universal time: 0h of its day, the hours since, and the year of
/// that day in the chart calendar (Julian before 1582).
ChartInstant instant_at(double jd_ut);


/// Computes the positions of one chart from its birth data, in five fixed steps
/// (time, angles, Sun, Moon, planets). Indices 0..22 are filled; index 23 (Du) stays 0.
///
/// In:  birth day, month, year (Julian calendar before 1582), birth time in hours of universal
///      time, geographic longitude (degrees, east positive) and latitude (degrees, north positive).
/// Out: ecliptic longitudes of the equinox of date in degrees, in [0, 360) except Sun and Moon,
///      which may lie a few arc seconds above 360.
/// Range: a theory of the 1900 epoch (time T in Julian centuries from 1900 January 0.5) that holds
///      well near 1900-2000. Against a modern ephemeris (apparent longitudes, ten dates 1850-2090):
///      Sun within 0.1', Moon within 1', Mercury to Mars within about 1' throughout; Jupiter to
///      Neptune within about 10' in 1900-2000 but Neptune 26' off in 1850 and 42' in 2050; Pluto
///      already 20' off in 1992-2010 and up to 67' in 2090. No difference between universal and
///      dynamical time is applied. The transneptunian points and the galactic centre are the
///      program's own definitions and have no outside reference.
Positions f_rechnen(const BirthData& birth);

/// The same computation for an instant and a place: f_rechnen(birth) is
/// f_rechnen(chart_instant(birth), chart_place(birth)), bit for bit.
Positions f_rechnen(const ChartInstant& instant, const GeoPlace& place);

/// The unit-level values the five steps exchange, as the last chart computation left them.
struct StdHoValues {
    // compute_time
    double jd0 = 0;               ///< Julian day of 0h on the birth date
    double julian_centuries = 0;  ///< T: centuries of 36525 days since JD 2415020.0, time of day included
    double obliquity = 0;         ///< epsilon, radians
    // compute_angles
    double sidereal_time = 0;     ///< S, hours (not reduced)
    double ramc = 0;              ///< sidereal angle, radians; negative when S is negative
    // compute_sun
    double t2 = 0;                ///< T*T
    double sun_mean_longitude = 0;  ///< L of the Sun, degrees, mod360
    double sun_mean_anomaly = 0;    ///< M of the Sun before the long-period correction, degrees
    double moon_mean_longitude = 0; ///< L', degrees, mod360
    double moon_perigee = 0;        ///< Gamma', degrees, mod360
    double moon_node = 0;           ///< Omega, degrees, mod360 (negative from 1914 on)
    double sun_anomaly = 0;         ///< M after the long-period correction, degrees
    double elongation = 0;          ///< D, degrees, not reduced
    double nutation = 0;            ///< delta psi, degrees
    // compute_planets
    std::size_t elements_read = 0;  ///< read position of element_table after the last body
};

/// f_rechnen, also handing back the unit-level values of the computation.
Positions f_rechnen(const BirthData& birth, StdHoValues& values);

/// MC in degrees [0, 360) for a sidereal angle `ramc` and the obliquity, both in radians:
/// the direction of (cos ramc cos eps, sin ramc).
double mc_of(double ramc, double obliquity);

/// The angle whose direction plus pi/2 is the AS, radians in [0, 2 pi).
/// @param ramc          sidereal angle, radians
/// @param geo_latitude  degrees, north positive
/// @param obliquity     radians
double ascendant_angle(double ramc, double geo_latitude, double obliquity);

/// Equal-house number 1..12 of a point counted in 30-degree sectors from a reference body.
/// @param reference_index body index of the reference (above 5 counts as SO)
/// @param body_index      body index of the point
/// @param reference_position, point_position  longitudes in degrees, in [0, 360)
int house_number(int reference_index, int body_index, double reference_position, double point_position);

}  // namespace duoskop
