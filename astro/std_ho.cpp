// SPDX-License-Identifier: GPL-3.0-or-later
#include "astro/std_ho.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>

#include "astro/calendar.h"
#include "astro/element_table.h"
#include "astro/un_math.h"

namespace duoskop {

namespace {

constexpr double pi = std::numbers::pi;

// Units and epochs of the computation. Each stands where the routine had its bare number, with the
// same value and type of arithmetic, so that no result changes by a bit.
constexpr double arcsec_per_degree = 3600;      // periodic terms are given in arc seconds
constexpr double hours_per_day = 24;
constexpr double degrees_per_hour = 15;         // sidereal time in hours to an angle
constexpr double days_per_century = 36525;      // a Julian century
constexpr double epoch_1900 = 2415020;          // JD of 1899-12-31 12h (1900 January 0.5), T = 0
constexpr double gauss_constant = 0.0172021;    // k: the Sun's mean motion, radians per day at 1 AU
constexpr double light_days_per_au = 0.0057683; // light-time for one astronomical unit, days
constexpr double galactic_centre_2003 = 266.925;  // longitude of the galactic centre at 2003, degrees
constexpr int galactic_centre_epoch = 2003;
constexpr std::int64_t galactic_centre_arcsec_per_year = 50;  // precession, arc seconds a year

// Periodic terms of the Moon's longitude: coefficient in arc seconds, multiples of l, l', F, D.
struct MoonTerm {
    double coeff;
    std::int8_t l, ls, f, d;
};
inline constexpr MoonTerm moon_terms[] = {
    {22639.55, 1, 0, 0, 0},     //  1: l
    {-4586.465, 1, 0, 0, -2},   //  2: l - 2D
    {2369.912, 0, 0, 0, 2},     //  3: 2D
    {769.016, 2, 0, 0, 0},      //  4: 2l
    {-668.1469, 0, 1, 0, 0},    //  5: l'
    {-411.608, 0, 0, 2, 0},     //  6: 2F
    {-211.6562, 2, 0, 0, -2},   //  7: 2l - 2D
    {-205.962, 1, 1, 0, -2},    //  8: l + l' - 2D
    {191.953, 1, 0, 0, 2},      //  9: l + 2D
    {-165.145, 0, 1, 0, -2},    // 10: l' - 2D
    {147.687, 1, -1, 0, 0},     // 11: l - l'
    {-125.154, 0, 0, 0, 1},     // 12: D
    {-109.673, 1, 1, 0, 0},     // 13: l + l'
    {-55.173, 0, 0, 2, -2},     // 14: 2F - 2D
    {-45.099, 1, 0, 2, 0},      // 15: l + 2F
    {39.529, 1, 0, -2, 0},      // 16: l - 2F
    {-38.428, 1, 0, 0, -4},     // 17: l - 4D
    {36.124, 3, 0, 0, 0},       // 18: 3l
    {-30.773, 2, 0, 0, -4},     // 19: 2l - 4D
    {28.475, 1, -1, 0, -2},     // 20: l - l' - 2D
    {-24.42, 0, 1, 0, 2},       // 21: l' + 2D
    {18.609, 1, 0, 0, -1},      // 22: l - D
    {18.023, 0, 1, 0, 1},       // 23: l' + D
    {14.577, 1, -1, 0, 2},      // 24: l - l' + 2D
    {14.387, 2, 0, 0, 2},       // 25: 2l + 2D
    {13.902, 0, 0, 0, 4},       // 26: 4D
    {-13.193, 3, 0, 0, -2},     // 27: 3l - 2D
    {9.703, 2, -1, 0, 0},       // 28: 2l - l'
    {9.366, 1, 0, -2, -2},      // 29: l - 2F - 2D
    {-8.627, 2, 1, 0, -2},      // 30: 2l + l' - 2D
    {-8.466, 1, 0, 0, 1},       // 31: l + D
    {-8.096, 0, 2, 0, -2},      // 32: 2l' - 2D
    {-7.649, 2, 1, 0, 0},       // 33: 2l + l'
    {-7.486, 0, 2, 0, 0},       // 34: 2l'
    {-7.412, 1, 2, 0, -2},      // 35: l + 2l' - 2D
    {-6.382, 1, 0, -2, 2},      // 36: l - 2F + 2D
    {-5.741, 0, 0, 2, 2},       // 37: 2F + 2D
    {-4.391, 1, 1, 0, -4},      // 38: l + l' - 4D
    {-3.996, 2, 0, 2, 0},       // 39: 2l + 2F
    {3.215, 1, 0, 0, -3},       // 40: l - 3D
    {-2.921, 1, 1, 0, 2},       // 41: l + l' + 2D
    {-2.74, 2, 1, 0, -4},       // 42: 2l + l' - 4D
    {-2.494, 2, -1, 0, -2},     // 43: 2l - l' - 2D
    {2.58, 1, -2, 0, 0},        // 44: l - 2l'
    {2.533, 1, -2, 0, -2},      // 45: l - 2l' - 2D
    {-2.152, 0, 1, 2, -2},      // 46: l' + 2F - 2D
    {1.979, 1, 0, 0, 4},        // 47: l + 4D
    {1.938, 4, 0, 0, 0},        // 48: 4l
    {-1.877, 0, 1, 0, -4},      // 49: l' - 4D
    {1.75, 2, 0, 0, -1},        // 50: 2l - D
    {-1.44, 0, 1, -2, 2},       // 51: l' - 2F + 2D
    {-1.298, 2, 0, -2, 0},      // 52: 2l - 2F
    {1.267, 1, 1, 0, 1},        // 53: l + l' + D
    {1.225, 2, 0, 0, -3},       // 54: 2l - 3D
    {-1.187, 3, 0, 0, -4},      // 55: 3l - 4D
    {1.181, 2, -1, 0, 2},       // 56: 2l - l' + 2D
    {-1.167, 1, 2, 0, 0},       // 57: l + 2l'
    {-1.089, 1, -1, 0, -1},     // 58: l - l' - D
    {1.06, 3, 0, 0, 2},         // 59: 3l + 2D
    {-0.992, 1, 0, 2, 2},       // 60: l + 2F + 2D
    {-0.952, 4, 0, 0, -2},      // 61: 4l - 2D
    {-0.57, 2, 0, 0, -6},       // 62: 2l - 6D
    {0.636, 1, 0, 0, -4},       // 63: l - 4D (the same argument as term 17; both count)
    {0.56, 0, 1, 0, -1},        // 64: l' - D
    {0.757, 1, -2, 0, 2},       // 65: l - 2l' + 2D
    {-0.586, 2, 0, 0, 1},       // 66: 2l + D
    {0.584, 0, 0, 2, -1},       // 67: 2F - D
    {-0.551, 3, 1, 0, 0},       // 68: 3l + l'
    {0.681, 3, -1, 0, 0},       // 69: 3l - l'
    {0.557, 2, 0, 2, -2},       // 70: 2l + 2F - 2D
    {0.538, 2, 0, -2, -2},      // 71: 2l - 2F - 2D
};
static_assert(std::size(moon_terms) == 71);

// Starting house of a reference body 0..5: MC 10, WI 7, SO 4, AS 1, MO 10, KN 1.
inline constexpr int start_house[6] = {10, 7, 4, 1, 10, 1};

// The zero substitute of the planet computation, for a zero y and for an exactly zero angle.
constexpr double planet_zero_substitute = 1.7e-9;

struct Vec3 {
    double x, y, z;
};

// The unit-level values of one chart computation, written and read by the five steps in order.
class ChartComputation {
public:
    ChartComputation(const ChartInstant& instant, const GeoPlace& place) : instant_(instant), place_(place) {}

    Positions run()
    {
        compute_time();
        compute_angles();
        compute_sun();
        compute_moon();
        compute_planets();
        return positions_;
    }

    const StdHoValues& values() const { return v_; }

private:
    const ChartInstant& instant_;
    const GeoPlace& place_;
    Positions positions_{};

    StdHoValues v_;  // the unit-level values, in the order the steps write them

    // Planet step: read position in element_table, the Earth's position and velocity.
    std::size_t read_ = 0;
    Vec3 earth_{};
    Vec3 earth_velocity_{};

    // --- Step 1 and 2: time, obliquity, sidereal angle, MC and AS ---

    // Step 1. In: the Julian day of 0h UT on the birth date (Julian calendar before 1582,
    // Gregorian from 1582) and the birth time (hours, universal time). Out: T (Julian centuries of
    // 36525 days since JD 2415020.0 = 1900 January 0.5, time of day included) and the mean
    // obliquity of the ecliptic (radians), a linear polynomial in T of the 1900 epoch (its quadratic
    // term, some 0.002" a century squared, is left out).
    void compute_time()
    {
        v_.jd0 = instant_.jd0;
        v_.julian_centuries = (instant_.jd0 - epoch_1900 + instant_.hours / hours_per_day) / days_per_century;
        const double eps = 23.452294 - 0.0130125 * v_.julian_centuries;
        v_.obliquity = deg_to_rad(eps);
    }

    // Step 2. In: T, the obliquity, birth time (hours UT), geographic longitude (degrees, east
    // positive) and latitude (degrees, north positive). Out: MC (index 0) and AS (index 3) in
    // degrees [0, 360), WI (index 1) set to 0, the sidereal time S (hours) and the sidereal angle
    // RAMC (radians). The sidereal time is the polynomial of the 1900 epoch in universal time; no
    // nutation enters, so MC and AS are taken from the mean sidereal time.
    void compute_angles()
    {
        // Local sidereal time in hours; T carries the time of day, 2400.051262 T the sidereal rate.
        const double t = v_.julian_centuries;
        const double s = 6.646065556 + 2400.051262 * t + 0.000025805 * (t * t) + instant_.hours;
        v_.sidereal_time = s;
        v_.ramc = deg_to_rad(mod360(s * degrees_per_hour + place_.geo_longitude));
        const double mc = mc_of(v_.ramc, v_.obliquity);
        const double as =
            mod360(rad_to_deg(ascendant_angle(v_.ramc, place_.geo_latitude, v_.obliquity) + pi / 2));
        positions_[0] = mc;
        positions_[3] = as;
        positions_[1] = 0;
    }

    // --- Step 3: Sun, and the mean elements handed to the Moon ---

    // Step 3. In: T. Out: the apparent longitude of the Sun (index 2) in degrees, [0, 360) or a few
    // arc seconds above 360; for the Moon's step the mean elements L', Gamma', Omega (degrees,
    // mod360), the Sun's corrected mean anomaly M, the elongation D (degrees) and the nutation in
    // longitude (degrees). A series of the 1900 epoch (mean elements, Kepler's equation, perturbations
    // by Venus, Mars, Jupiter, Saturn and the Moon, aberration, nutation): within 0.1' of a modern
    // ephemeris from 1850 to 2090.
    void compute_sun()
    {
        const double t = v_.julian_centuries;
        v_.t2 = t * t;
        const double t2 = v_.t2;
        const double d = days_per_century * t;  // days since the epoch
        v_.moon_mean_longitude = mod360(270.4341639 + 13.1763965268 * d + (0.0000019 * t - 0.001133) * t2);
        v_.moon_perigee = mod360(334.3295556 + 0.1114040803 * d + (0.010325 - 0.000012 * t) * t2);
        v_.moon_node = mod360(259.183275 - 0.0529539222 * d + (0.002078 + 0.000002 * t) * t2);

        // 1. Mean elements of the Sun.
        const double l = mod360(279.6966778 + 36000.76892 * t + 0.0003025 * t2);
        double m = mod360(358.4758444 + 35999.04975 * t - 0.00015 * t2);
        v_.sun_mean_longitude = l;
        v_.sun_mean_anomaly = m;
        const double e = 0.01675104 - 0.0000418 * t - 0.000000126 * t2;
        // 2. Kepler's equation in radians, exactly five iterations.
        const double mr = deg_to_rad(m);
        double ea = mr;
        for (int k = 0; k < 5; ++k) ea = mr + e * std::sin(ea);
        // 3. True anomaly.
        double nu = 2 * std::atan(std::sqrt((1 + e) / (1 - e)) * tan_rad(ea / 2));
        nu = rad_to_deg(nu);
        if (nu < 0) nu += 360;
        // 4. True longitude; M from here on is the anomaly taken back from radians.
        m = rad_to_deg(mr);
        const double lambda0 = mod360(nu - m + l);
        // 5. Long-period terms, arc seconds.
        double delta = 6.4 * sin_deg(231.19 + 20.2 * t) +
                       (1.882 - 0.016 * t) * sin_deg(57.24 + 150.27 * t) +
                       0.266 * sin_deg(31.8 + 119.0 * t) + 0.202 * sin_deg(315.6 + 893.3 * t);
        delta = delta / arcsec_per_degree;
        // 6. Corrected mean anomaly, used from here on and by the Moon.
        m = m + delta;
        v_.sun_anomaly = m;
        // 7. Arguments of the planetary terms.
        const double v = mod360(63.07037 + 22518.442986 * t);
        const double r = mod360(165.94905 + 16859.069667 * t);
        const double j = mod360(221.64742 + 32964.466939 * t);
        const double s = mod360(193.1323 + 34777.259042 * t);
        // 8. Perturbations by Venus, Mars, Jupiter, Saturn and the Moon.
        const double venus =
            (4.838 * cos_deg(v + 90) + 5.526 * cos_deg(2 * v + 90.12) +
             2.497 * cos_deg(2 * v - m + 257.75) + 1.559 * cos_deg(3 * v - m + 77.96) +
             1.024 * cos_deg(3 * v - 2 * m + 50.85) + 0.666 * cos_deg(3 * v + 270.41) +
             0.21 * cos_deg(4 * v + 89.8) + 0.154 * cos_deg(5 * v - 3 * m + 34.1) +
             0.152 * cos_deg(4 * v - 2 * m + 227.4) + 0.144 * cos_deg(4 * v - m + 79)) /
            arcsec_per_degree;
        const double mars =
            (2.043 * cos_deg(2 * r + 89.76) + 1.77 * cos_deg(2 * r - m + 306.27) +
             0.585 * cos_deg(4 * r - 2 * m + 185.82) + 0.5 * cos_deg(4 * r - m + 317.7) +
             0.425 * cos_deg(3 * r - m + 317.7) + 0.204 * cos_deg(5 * r - 2 * m + 185.5)) /
            arcsec_per_degree;
        const double jupiter =
            (7.208 * cos_deg(j + 91.09) + 2.731 * cos_deg(2 * j + 270.25) +
             2.6 * cos_deg(j - m + 174.77) + 1.61 * cos_deg(2 * j - m + 292.6) +
             0.556 * cos_deg(3 * j - m + 177.31)) /
            arcsec_per_degree;
        const double saturn =
            (0.419 * cos_deg(s + 90.34) + 0.32 * cos_deg(s - m + 259.22)) / arcsec_per_degree;
        v_.elongation = 350.7374861 + 445267.114166 * t - 0.001436111 * t2;
        const double moon_anomaly = 296.1046083 + 477198.8489 * t + 0.00919166666 * t2;
        const double moon =
            (6.454 * sin_deg(v_.elongation) + 0.424 * sin_deg(v_.elongation - moon_anomaly)) /
            arcsec_per_degree;
        // 9. Geometric longitude.
        double lambda = lambda0 + delta + venus + mars + jupiter + saturn + moon;
        // 10. Aberration and nutation in longitude.
        const double aberration = -(20.47 + 0.342 * cos_deg(m)) / arcsec_per_degree;
        v_.nutation = (-(17.2327 + 0.01737 * t) * sin_deg(v_.moon_node) - 1.273 * sin_deg(2 * l)) /
                      arcsec_per_degree;
        // 11. Apparent longitude, not reduced below 360.
        lambda = lambda + v_.nutation + aberration;
        if (lambda < 0) lambda += 360;
        positions_[2] = lambda;
    }

    // --- Step 4: Moon and mean node ---

    // Step 4. In: T, T^2 and the mean elements, anomaly, elongation and nutation of step 3.
    // Out: the apparent longitude of the Moon (index 4) and the mean lunar node (index 5), degrees,
    // [0, 360) or a few arc seconds above 360. 71 periodic terms of the 1900-epoch lunar theory:
    // within 1' of a modern ephemeris from 1850 to 2090 (0.5' near 1900-2000). The difference
    // between universal and dynamical time is not applied; the Moon, moving 0.5' a minute, feels it
    // first far from the present.
    void compute_moon()
    {
        const double t = v_.julian_centuries;
        const double t2 = v_.t2;
        double lm = v_.moon_mean_longitude;
        double l = lm - v_.moon_perigee;
        double ls = v_.sun_anomaly;
        double f = lm - v_.moon_node;
        double d = v_.elongation;
        // Additive corrections; A2 and A4 in arc seconds, A1 and A3 plain sines.
        const double a1 = sin_deg(51.2 + 20.2 * t);
        const double a2 = 14.27 * sin_deg(193.4404 - 132.87 * t - 0.0091731 * t2);
        const double a3 = sin_deg(v_.moon_node);
        const double a4 = -15.58 * sin_deg(v_.moon_node + 275.05 - 2.3 * t);
        lm = lm + (0.84 * a1 + a2 + 7.261 * a3) / arcsec_per_degree;
        l = l + (2.94 * a1 + a2 + 9.337 * a3) / arcsec_per_degree;
        d = d + (7.24 * a1 + a2 + 7.261 * a3) / arcsec_per_degree;
        ls = ls - 6.4 * a1 / arcsec_per_degree;
        f = f + (0.21 * a1 + a2 - 88.699 * a3 + a4) / arcsec_per_degree;
        // The 71 periodic terms, summed in their order.
        double sum = 0;
        for (const MoonTerm& term : moon_terms) {
            double arg = 0;
            if (term.l != 0) arg = arg + term.l * l;
            if (term.ls != 0) arg = arg + term.ls * ls;
            if (term.f != 0) arg = arg + term.f * f;
            if (term.d != 0) arg = arg + term.d * d;
            sum = sum + term.coeff * sin_deg(arg);
        }
        double lambda = mod360(lm + sum / arcsec_per_degree) + v_.nutation;
        double node = v_.moon_node;
        if (node < 0) node += 360;
        if (lambda < 0) lambda += 360;
        positions_[4] = lambda;
        positions_[5] = node;
    }

    // --- Step 5: planets, transneptunian points, galactic centre ---

    // The next polynomial element c0 + c1*T + c2*T^2 of the table, converted to radians.
    double next_element()
    {
        const double* c = element_table + read_;
        read_ += 3;
        return deg_to_rad(c[0] + c[1] * v_.julian_centuries + c[2] * v_.t2);
    }

    double next_number() { return element_table[read_++]; }

    // A vector (p, q) of the orbital plane, p toward the perihelion, in ecliptic coordinates.
    static Vec3 orbit_to_ecliptic(double p, double q, double omega, double node, double incl)
    {
        constexpr double z0 = planet_zero_substitute;
        Polar pu = rect_to_polar(p, q, z0);
        pu.angle = pu.angle + omega;
        const Rect r1 = polar_to_rect(pu.angle, pu.radius, z0);
        Polar pv = rect_to_polar(r1.y, 0, z0);
        pv.angle = pv.angle + incl;
        const Rect r2 = polar_to_rect(pv.angle, pv.radius, z0);
        Polar pw = rect_to_polar(r1.x, r2.x, z0);
        pw.angle = pw.angle + node;
        if (pw.angle < 0) pw.angle += 2 * pi;
        const Rect r3 = polar_to_rect(pw.angle, pw.radius, z0);
        return {r3.x, r3.y, r2.y};
    }

    // One coordinate correction of an outer planet: polynomial plus `terms` periodic terms, AU.
    double coordinate_correction(int terms)
    {
        double sum = next_element();
        for (int k = 0; k < terms; ++k) {
            const double a = next_number();
            const double f = next_number();
            const double phi = next_number();
            sum = sum + deg_to_rad(a) * std::cos((f * v_.julian_centuries + phi) * pi / 180);
        }
        return rad_to_deg(sum);
    }

    Vec3 outer_corrections(int b, Vec3 pos)
    {
        const int n = b == 9 ? 11 : b == 10 ? 5 : 4;
        const double cx = coordinate_correction(n);
        const double cy = coordinate_correction(n);
        const double cz = b == 9 ? 0.0 : coordinate_correction(n - 1);
        return {pos.x + cx, pos.y + cy, pos.z + cz};
    }

    // Geocentric longitude in degrees of body b; b = 2 stands for the Earth and only sets its state.
    double orbit_longitude(int b)
    {
        const double m = modulo(next_element(), 2 * pi);
        const double e = rad_to_deg(next_element());
        // Kepler's equation, five iterations. With e = 0 (the transneptunian points) every
        // iteration gives M + 0 = M exactly, so the sines are not taken.
        double ea = m;
        if (e != 0)
            for (int k = 0; k < 5; ++k) ea = m + e * std::sin(ea);
        const double sin_e = std::sin(ea);
        const double cos_e = std::cos(ea);
        const double a = next_number();
        // Rate of E per day.
        const double n = gauss_constant / (std::sqrt(a * a * a) * (1 - e * cos_e));
        // Velocity in the orbital plane.
        const double vp = -a * n * sin_e;
        const double vq = std::sqrt(1 - e * e) * a * n * cos_e;
        const double omega = next_element();
        const double node = next_element();
        const double incl = next_element();
        const Vec3 v = orbit_to_ecliptic(vp, vq, omega, node, incl);
        double vx = 0, vy = 0;
        if (b == 2) {
            earth_velocity_ = v;
        } else {
            vx = v.x - earth_velocity_.x;
            vy = v.y - earth_velocity_.y;
        }
        // Heliocentric position.
        const double p = a * (cos_e - e);
        const double q = a * sin_e * std::sqrt(1 - e * e);
        Vec3 pos = orbit_to_ecliptic(p, q, omega, node, incl);
        if (b >= 9 && b <= 13) pos = outer_corrections(b, pos);
        if (b == 2) {
            earth_ = pos;
            return 0;
        }
        // Geocentric position and the rate of the longitude, radians per day.
        const double x = pos.x - earth_.x;
        const double y = pos.y - earth_.y;
        const double z = pos.z - earth_.z;
        const double rate = (x * vy - y * vx) / (x * x + y * y);
        // Light-time: the distance in astronomical units times the days light takes for one.
        const double light = std::sqrt(x * x + y * y + z * z) * light_days_per_au * rad_to_deg(rate);
        const double theta = rect_to_polar(x, y, planet_zero_substitute).angle;
        return modulo(rad_to_deg(theta) - light, 360);
    }

    // Step 5. In: T, T^2 and the birth year. Out: Mercury to Pluto, the eight transneptunian
    // points (indices 6..21, degrees [0, 360)) and the galactic centre (index 22, degrees).
    // Each body: polynomial mean elements of element_table, Kepler's equation (five iterations),
    // heliocentric ecliptic coordinates, for Jupiter to Pluto the periodic corrections of the table,
    // then geocentric longitude less light-time. Keplerian orbits with few perturbation terms, against
    // a modern ephemeris: Mercury to Mars within about 1' from 1850 to 2090; Jupiter to Neptune
    // within about 10' in 1900-2000, Neptune 26' off in 1850 and 42' in 2050; Pluto 20' off in
    // 1992-2010 and 67' in 2090. The galactic centre moves by precession alone, 50 arc seconds a
    // year from its place in 2003.
    void compute_planets()
    {
        read_ = 0;
        orbit_longitude(2);
        for (int b = 6; b <= 21; ++b) positions_[b] = orbit_longitude(b);
        // Galactic centre: 50 arc seconds a year, the product formed in integers.
        v_.elements_read = read_;
        positions_[22] = galactic_centre_2003 +
                         static_cast<double>(galactic_centre_arcsec_per_year *
                                             (instant_.year - galactic_centre_epoch)) /
                             arcsec_per_degree;
    }
};

}  // namespace

ChartInstant chart_instant(const BirthData& birth)
{
    return {chart_julian_day0(birth.birth_year, birth.birth_month, birth.birth_day), birth.birth_time,
            birth.birth_year};
}

ChartInstant instant_at(double jd_ut)
{
    const double day = std::floor(jd_ut + 0.5);
    const double jd0 = day - 0.5;
    // A day number far outside the calendar's years gives no year to move the galactic centre by.
    const bool countable = std::isfinite(day) && std::abs(day) < 1e12;
    const std::int64_t year = countable ? chart_date_of(static_cast<std::int64_t>(day)).year : 0;
    return {jd0, (jd_ut - jd0) * hours_per_day,
            static_cast<std::int32_t>(std::clamp<std::int64_t>(year, INT32_MIN, INT32_MAX))};
}

Positions f_rechnen(const ChartInstant& instant, const GeoPlace& place)
{
    return ChartComputation(instant, place).run();
}

Positions f_rechnen(const BirthData& birth)
{
    const ChartInstant instant = chart_instant(birth);
    const GeoPlace place = chart_place(birth);
    return ChartComputation(instant, place).run();
}

Positions f_rechnen(const BirthData& birth, StdHoValues& values)
{
    const ChartInstant instant = chart_instant(birth);
    const GeoPlace place = chart_place(birth);
    ChartComputation computation(instant, place);
    const Positions positions = computation.run();
    values = computation.values();
    return positions;
}

double mc_of(double ramc, double obliquity)
{
    // The direction of (cos RAMC cos eps, sin RAMC), taken with polar_to_rect(ramc, 1).
    const Rect r = polar_to_rect(ramc, 1);
    const double x = r.x * std::cos(obliquity);
    return mod360(rad_to_deg(rect_to_polar(x, r.y).angle));
}

double ascendant_angle(double ramc, double geo_latitude, double obliquity)
{
    const double phi = deg_to_rad(geo_latitude);
    const Rect cs = polar_to_rect(phi, 1);      // (cos phi, sin phi)
    const Rect uv = polar_to_rect(ramc, cs.x);  // (cos phi cos ramc, cos phi sin ramc)
    Polar rt = rect_to_polar(uv.y, cs.y);
    rt.angle = rt.angle - obliquity;
    const double p = polar_to_rect(rt.angle, rt.radius).x;  // r cos theta
    double a = rect_to_polar(uv.x, p).angle;
    if (a < 0) a += 2 * pi;
    return a;
}

int house_number(int reference_index, int body_index, double reference_position, double point_position)
{
    if (reference_index > 5) reference_index = 2;
    const int start = start_house[reference_index < 0 ? 0 : reference_index];
    if (body_index == reference_index) return start;
    std::int64_t n = Trunc((point_position - reference_position) / 30);
    if (point_position < reference_position) n -= 1;
    // Positions lie in [0, 360), so n is in [-12, 11]; anything else is only kept from overflowing.
    n = std::clamp<std::int64_t>(n, -1000000, 1000000);
    std::int64_t h = n + start;
    if (h > 12) h -= 12;
    if (h <= 0) h += 12;
    return static_cast<int>(h);
}

}  // namespace duoskop
