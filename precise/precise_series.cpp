// SPDX-License-Identifier: GPL-3.0-or-later
#include "precise/precise_series.h"

#include <libnova/libnova.h>

#include <cmath>
#include <mutex>
#include <numbers>

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

// The planets ME to PL in body order.
constexpr HelioRoutine planet_routines[] = {
    ln_get_mercury_helio_coords, ln_get_venus_helio_coords,  ln_get_mars_helio_coords,
    ln_get_jupiter_helio_coords, ln_get_saturn_helio_coords, ln_get_uranus_helio_coords,
    ln_get_neptune_helio_coords, ln_get_pluto_helio_coords};
static_assert(std::size(planet_routines) == precise_body_count - static_cast<std::size_t>(PreciseBody::mercury));

/// libnova keeps caches in static variables: one computation at a time, whichever thread asks.
std::mutex libnova_lock;

/// Heliocentric position at `jde`, AU, ecliptic and equinox of J2000.0, rectangular.
Vec helio_position(HelioRoutine routine, double jde)
{
    ln_helio_posn h{};
    routine(jde, &h);
    const double l = h.L * rad, b = h.B * rad;
    return {h.R * std::cos(b) * std::cos(l), h.R * std::cos(b) * std::sin(l), h.R * std::sin(b)};
}

/// What every body's longitude at one instant shares: the nutation and the Earth's position and
/// velocity.
struct Epoch {
    double jde;
    ln_nutation nutation;
    Vec earth;           ///< heliocentric, AU
    Vec earth_velocity;  ///< AU per day

    explicit Epoch(double at) : jde(at), nutation{}
    {
        // libnova hands back its last nutation for any date within a tenth of a day of it; a call
        // a day away first makes the result depend on this instant alone.
        ln_get_nutation(jde + 1, &nutation);
        ln_get_nutation(jde, &nutation);
        earth = helio_position(ln_get_earth_helio_coords, jde);
        constexpr double step = 0.01;
        earth_velocity = (0.5 / step) * (helio_position(ln_get_earth_helio_coords, jde + step) -
                                         helio_position(ln_get_earth_helio_coords, jde - step));
    }

    /// Aberration: the direction moves by the Earth's velocity over the speed of light.
    Vec apparent(Vec u) const { return u + (u.length() / light_speed) * earth_velocity; }
};

/// Longitude in degrees, [0, 360), of a direction given in the ecliptic and equinox of J2000.0,
/// precessed to the mean ecliptic of date and moved by the nutation in longitude.
double longitude_of_date(Vec u, const Epoch& epoch)
{
    // Ecliptic of J2000.0 to the equator of J2000.0.
    const double e0 = obliquity_j2000 * rad;
    const double ye = u.y * std::cos(e0) - u.z * std::sin(e0);
    const double ze = u.y * std::sin(e0) + u.z * std::cos(e0);
    ln_equ_posn j2000{std::atan2(ye, u.x) / rad, std::atan2(ze, std::hypot(u.x, ye)) / rad};
    ln_equ_posn of_date{};
    ln_get_equ_prec2(&j2000, jd_j2000, epoch.jde, &of_date);
    // Mean equator of date to the mean ecliptic of date.
    const double e = epoch.nutation.ecliptic * rad;
    const double a = of_date.ra * rad, d = of_date.dec * rad;
    const double x = std::cos(d) * std::cos(a);
    const double y = std::cos(d) * std::sin(a) * std::cos(e) + std::sin(d) * std::sin(e);
    const double lambda = std::atan2(y, x) / rad + epoch.nutation.longitude;
    const double reduced = std::fmod(lambda, 360.0);
    return reduced < 0 ? reduced + 360 : reduced;
}

/// The longitude of one body at the epoch's instant: the one computation every caller shares.
double body_longitude(PreciseBody body, const Epoch& epoch)
{
    switch (body) {
    case PreciseBody::sun:
        // Opposite the Earth.
        return longitude_of_date(epoch.apparent(-1.0 * epoch.earth), epoch);
    case PreciseBody::moon: {
        // Geocentric, so the Earth's motion does not enter; only the light time does.
        ln_rect_posn moon{};
        ln_get_lunar_geo_posn(epoch.jde, &moon, lunar_precision);
        const double light_time = Vec{moon.X, moon.Y, moon.Z}.length() / light_speed_km;
        ln_get_lunar_geo_posn(epoch.jde - light_time, &moon, lunar_precision);
        return longitude_of_date({moon.X, moon.Y, moon.Z}, epoch);
    }
    default: {
        // Planets: where they were when the light left them, seen from where the Earth is. The
        // light time of the geometric distance is off by far less than a second, so one pass
        // suffices.
        const HelioRoutine routine =
            planet_routines[static_cast<std::size_t>(body) - static_cast<std::size_t>(PreciseBody::mercury)];
        const Vec geometric = helio_position(routine, epoch.jde) - epoch.earth;
        const double light_time = geometric.length() / light_speed;
        const Vec geo = helio_position(routine, epoch.jde - light_time) - epoch.earth;
        return longitude_of_date(epoch.apparent(geo), epoch);
    }
    }
}

}  // namespace

double series_longitude(PreciseBody body, double jde)
{
    const std::lock_guard lock(libnova_lock);
    return body_longitude(body, Epoch(jde));
}

void series_longitudes(double jde, std::span<const PreciseBody> bodies, std::span<double> out)
{
    const std::lock_guard lock(libnova_lock);
    const Epoch epoch(jde);
    for (std::size_t i = 0; i < bodies.size() && i < out.size(); ++i) out[i] = body_longitude(bodies[i], epoch);
}

std::array<double, precise_body_count> series_longitudes(double jde)
{
    static constexpr std::array all = {PreciseBody::sun,     PreciseBody::moon,   PreciseBody::mercury,
                                       PreciseBody::venus,   PreciseBody::mars,   PreciseBody::jupiter,
                                       PreciseBody::saturn,  PreciseBody::uranus, PreciseBody::neptune,
                                       PreciseBody::pluto};
    static_assert(all.size() == precise_body_count);
    std::array<double, precise_body_count> longitudes{};
    series_longitudes(jde, all, longitudes);
    return longitudes;
}

std::string libnova_version()
{
    const char* version = ln_get_version();
    return version != nullptr ? version : "";
}

}  // namespace duoskop
