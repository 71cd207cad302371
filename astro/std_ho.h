// The chart computation: Julian time, obliquity, sidereal angle, MC and AS, Sun, Moon and node,
// Mercury to Pluto, the eight transneptunian points and the galactic centre.
#pragma once

#include "app/chart_state.h"

namespace duoskop {

/// Computes the positions of one chart from its birth data, in five fixed steps
/// (time, angles, Sun, Moon, planets). Indices 0..22 are filled; index 23 (Du) stays 0.
/// Longitudes in degrees, in [0, 360) except Sun and Moon, which may lie a few arc seconds above 360.
Positions f_rechnen(const BirthData& birth);

/// Equal-house number 1..12 of a point counted in 30-degree sectors from a reference body.
/// @param reference_index body index of the reference (above 5 counts as SO)
/// @param body_index      body index of the point
/// @param reference_position, point_position  longitudes in degrees, in [0, 360)
int house_number(int reference_index, int body_index, double reference_position, double point_position);

}  // namespace duoskop
