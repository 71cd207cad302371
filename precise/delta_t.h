// SPDX-License-Identifier: GPL-3.0-or-later
// The difference between terrestrial time and universal time.
#pragma once

namespace duoskop {

/// Delta T = TT - UT in seconds for a decimal year (2000.0 = 1 January 2000).
/// Up to 2005 the polynomials of Espenak and Meeus (Five Millennium Canon of Solar Eclipses,
/// 2006); 2005 to 2025 the yearly values observed by the IERS, interpolated linearly; from 2025 on
/// the last observed value plus the long-term tidal term 32.5 s per century squared of
/// Stephenson, Morrison and Hohenkerk (2016), starting without slope as observed.
double delta_t_seconds(double year);

}  // namespace duoskop
