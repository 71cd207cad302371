// SPDX-License-Identifier: GPL-3.0-or-later
// The dial as words for a screen reader (Windows-1252): angles as "7 Grad 30 Minuten", longitudes
// with the sign's full name, points of a pair with the bodies' full names, and the midpoint tree at
// the pointer as one text. The numbers are those the dial window shows, rounded the same way.
#pragma once

#include <string>

#include "dialview/midpoints.h"
#include "dialview/pair_points.h"

namespace duoskop {

/// An angle in degrees as "7 Grad 30 Minuten" (whole minutes, rounded as the window shows them).
std::string spoken_angle(double degrees);

/// A longitude in degrees as "17 Grad 30 Minuten Krebs": degrees and minutes within its sign and the
/// sign's full name.
std::string spoken_longitude(double longitude);

/// A dial position as the pointer text reads it: on the 360-degree dial as a longitude
/// (spoken_longitude), on every other dial as an angle (spoken_angle).
std::string spoken_position(double position, double modulus);

/// A factor of a pair: "Sonne, Person 1", "Widderpunkt".
std::string spoken_factor(const PairFactor& factor);

/// A point of a pair: a factor as spoken_factor, a midpoint as "Halbsumme Sonne und Mond, Person 1"
/// (one person) or "Halbsumme Sonne, Person 1, und Mond, Person 2" (across).
std::string spoken_point(const PairPoint& point);

/// A moving point as the timeline names it, in words: "SB1:SO" is "Sonnenbogen Sonne, Person 1",
/// "T:SA" is "Saturn, Transit"; an unknown name stays as it is.
std::string spoken_mover(const std::string& name);

/// The midpoint tree as one text: "Zeiger 7 Grad 30 Minuten, Orbis 0 Grad 30 Minuten; Sonne,
/// Person 1, Abstand 0 Grad 12 Minuten; gleich Halbsumme …, Abstand …; …", each factor followed by
/// the midpoints equal to it, then the midpoints on the pointer equal to no factor.
std::string spoken_tree(const PointerTree& tree);

}  // namespace duoskop
