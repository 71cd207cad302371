// SPDX-License-Identifier: GPL-3.0-or-later
#include "precise/precise_positions.h"

#include <libnova/libnova.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <mutex>
#include <numbers>

#include "astro/std_ho.h"
#include "precise/delta_t.h"

namespace duoskop {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double rad = pi / 180;
/// Speed of light in astronomical units per day.
constexpr double light_speed = 173.1446326846693;
/// Speed of light in kilometres per day (the lunar theory works in kilometres).
constexpr double light_speed_km = 299792.458 * 86400;
/// Mean obliquity of the ecliptic at J2000.0, degrees (the frame of libnova's theories).
constexpr double obliquity_j2000 = 23.4392911;
/// Relative size below which libnova leaves out the terms of the lunar theory: the Moon moves by
/// less than 0.1 arc second against the full series, in a fourteenth of its time.
constexpr double lunar_precision = 1e-8;
/// Julian day of J2000.0 (1 January 2000, 12h terrestrial time).
constexpr double jd_j2000 = 2451545.0;

struct Vec {
    double x, y, z;
    double length() const { return std::sqrt(x * x + y * y + z * z); }
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }

using HelioRoutine = void (*)(double, ln_helio_posn*);

// The planets ME to PL in body order (positions 6 to 13).
constexpr std::array<HelioRoutine, 8> planet_routines = {
    ln_get_mercury_helio_coords, ln_get_venus_helio_coords,  ln_get_mars_helio_coords,
    ln_get_jupiter_helio_coords, ln_get_saturn_helio_coords, ln_get_uranus_helio_coords,
    ln_get_neptune_helio_coords, ln_get_pluto_helio_coords};
constexpr std::size_t first_planet = 6;
static_assert(first_planet + planet_routines.size() - 1 == 13);

/// Heliocentric position at `jde`, AU, ecliptic and equinox of J2000.0, rectangular.
Vec helio_position(HelioRoutine routine, double jde)
{
    ln_helio_posn h{};
    routine(jde, &h);
    const double l = h.L * rad, b = h.B * rad;
    return {h.R * std::cos(b) * std::cos(l), h.R * std::cos(b) * std::sin(l), h.R * std::sin(b)};
}

/// Longitude in degrees, [0, 360), of a direction given in the ecliptic and equinox of J2000.0,
/// precessed to the mean ecliptic of date and moved by the nutation in longitude.
double longitude_of_date(Vec u, double jde, const ln_nutation& nutation)
{
    // Ecliptic of J2000.0 to the equator of J2000.0.
    const double e0 = obliquity_j2000 * rad;
    const double ye = u.y * std::cos(e0) - u.z * std::sin(e0);
    const double ze = u.y * std::sin(e0) + u.z * std::cos(e0);
    ln_equ_posn j2000{std::atan2(ye, u.x) / rad, std::atan2(ze, std::hypot(u.x, ye)) / rad};
    ln_equ_posn of_date{};
    ln_get_equ_prec2(&j2000, jd_j2000, jde, &of_date);
    // Mean equator of date to the mean ecliptic of date.
    const double e = nutation.ecliptic * rad;
    const double a = of_date.ra * rad, d = of_date.dec * rad;
    const double x = std::cos(d) * std::cos(a);
    const double y = std::cos(d) * std::sin(a) * std::cos(e) + std::sin(d) * std::sin(e);
    const double lambda = std::atan2(y, x) / rad + nutation.longitude;
    const double reduced = std::fmod(lambda, 360.0);
    return reduced < 0 ? reduced + 360 : reduced;
}

}  // namespace

namespace {

/// Replaces SO, MO and ME to PL of `positions` by the precise positions at `instant`.
void apply_precise_positions(const ChartInstant& instant, Positions& positions)
{
    if (instant.year < precise_first_year || instant.year > precise_last_year) return;
    const double jd = instant.julian_day();
    if (!std::isfinite(jd)) return;
    const double year = 2000 + (jd - 2451544.5) / 365.25;
    // A time of day of many days (the fields allow 99 hours) stays within reach of the years.
    if (!(year > precise_first_year - 1 && year < precise_last_year + 2)) return;
    const double jde = jd + delta_t_seconds(year) / 86400;

    // libnova keeps caches in static variables: one chart at a time, whichever thread asks.
    static std::mutex libnova;
    const std::lock_guard lock(libnova);

    // libnova hands back its last nutation for any date within a tenth of a day of it; a call a
    // day away first makes the result depend on this chart alone.
    ln_nutation nutation{};
    ln_get_nutation(jde + 1, &nutation);
    ln_get_nutation(jde, &nutation);

    // The Earth's position and velocity (AU per day), for light time and aberration.
    const Vec earth = helio_position(ln_get_earth_helio_coords, jde);
    constexpr double step = 0.01;
    const Vec earth_velocity = (0.5 / step) * (helio_position(ln_get_earth_helio_coords, jde + step) -
                                               helio_position(ln_get_earth_helio_coords, jde - step));
    // Aberration: the direction moves by the Earth's velocity over the speed of light.
    const auto apparent = [&](Vec u) { return u + (u.length() / light_speed) * earth_velocity; };

    // Sun: opposite the Earth.
    positions[2] = longitude_of_date(apparent(-1.0 * earth), jde, nutation);

    // Moon: geocentric, so the Earth's motion does not enter; only the light time does.
    ln_rect_posn moon{};
    ln_get_lunar_geo_posn(jde, &moon, lunar_precision);
    const double moon_light_time = Vec{moon.X, moon.Y, moon.Z}.length() / light_speed_km;
    ln_get_lunar_geo_posn(jde - moon_light_time, &moon, lunar_precision);
    positions[4] = longitude_of_date({moon.X, moon.Y, moon.Z}, jde, nutation);

    // Planets: where they were when the light left them, seen from where the Earth is. The light
    // time of the geometric distance is off by far less than a second, so one pass suffices.
    for (std::size_t p = 0; p < planet_routines.size(); ++p) {
        const Vec geometric = helio_position(planet_routines[p], jde) - earth;
        const double light_time = geometric.length() / light_speed;
        const Vec geo = helio_position(planet_routines[p], jde - light_time) - earth;
        positions[first_planet + p] = longitude_of_date(apparent(geo), jde, nutation);
    }
}

}  // namespace

Positions positions_at(const ChartInstant& instant, const GeoPlace& place, PositionSource source)
{
    Positions positions = f_rechnen(instant, place);
    if (source == PositionSource::precise) apply_precise_positions(instant, positions);
    return positions;
}

Positions chart_positions(const BirthData& birth, PositionSource source)
{
    return positions_at(chart_instant(birth), chart_place(birth), source);
}

Positions theory_chart_positions(const BirthData& birth) { return chart_positions(birth, PositionSource::theory); }
Positions precise_chart_positions(const BirthData& birth) { return chart_positions(birth, PositionSource::precise); }

LoadResult holen(const std::string& path, int person, ChartState& state, PositionSource source)
{
    return holen(path, person, state,
                 source == PositionSource::precise ? &precise_chart_positions : &theory_chart_positions);
}

}  // namespace duoskop
