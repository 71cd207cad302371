// SPDX-License-Identifier: GPL-3.0-or-later
// The dial for a screen reader: the accessible interface of the dial's canvas ("Scheibe"), a dial
// whose value is the pointer and whose children are the factors of its rings, each named with its
// place in the zodiac; its description says what stands on the pointer.
#pragma once

#include <string>
#include <vector>

#include "desktop/dial_painter.h"
#include "ephemeris/ephemeris.h"

class QAccessibleEvent;

namespace duoskop {

class DialCanvas;

/// One factor of the dial as a screen reader reads it.
struct DialFactorReading {
    std::string name;     ///< who it is, without its place: "Sonne, Person 1" (Windows-1252)
    double longitude = 0; ///< where it stands in the zodiac, degrees
    int ring = 0;         ///< the ring it is drawn in: 0 inner (person 1), 1 outer (person 2), …
    bool operator==(const DialFactorReading&) const = default;
};

/// What a screen reader reads of the dial besides its name and value. A further ring (moving
/// factors such as transits) joins by adding its factors with the next ring number.
struct DialReading {
    std::vector<DialFactorReading> factors;  ///< by ring, within a ring in the painter's order
    std::string description;                 ///< what stands on the pointer (Windows-1252)
    double step = 0.01;                      ///< how far an arrow key moves the pointer, degrees
    double announced_pointer = -1;           ///< the pointer last told to a screen reader
};

/// The factors of both persons of a scene: person 1's on ring 0, person 2's (when loaded) on ring 1,
/// each body with a position, named "Sonne, Person 1".
std::vector<DialFactorReading> person_factor_readings(const DialScene& scene);

/// A factor's full text: "Sonne, Person 1, 17 Grad 30 Minuten Krebs" (Windows-1252).
std::string factor_text(const DialFactorReading& factor);

/// An item of the graphic ephemeris as a screen reader reads it: its target lines first ("Linie
/// Halbsumme MC, Person 1, und Venus, Person 2, 12 Grad 30 Minuten"), then its curves ("Kurve
/// Saturn, Transit"), then its hits ("Treffer 15.06.2025 14:30 UT: Saturn, Transit auf Sonne,
/// Person 1"); `index` counts through all three (Windows-1252).
std::string ephemeris_item_text(const Ephemeris& ephemeris, std::size_t index);

/// Where each factor of `factors` is drawn on a dial painted into `area` on the dial of `modulus`
/// (empty boxes for a ring the painter does not draw), in the order of `factors`.
std::vector<QRectF> factor_boxes(const std::vector<DialFactorReading>& factors, const QRectF& area, double modulus);

/// Makes the dial's and the graphic ephemeris' canvases known to the accessibility of Qt (once per program; later calls do nothing).
void install_dial_accessible();

/// Where the dial's events go besides QAccessible::updateAccessibility (which passes them on only
/// while a screen reader listens): a listener of the caller's, such as a test's; nullptr for none.
/// Returns the listener set before.
using DialEventListener = void (*)(QAccessibleEvent*);
DialEventListener listen_to_dial(DialEventListener listener);

/// Gives the canvas the factors and the description to read, and tells a screen reader what
/// changed: the pointer (value), the factors (their names) and the description.
void update_dial_reading(DialCanvas& canvas, std::vector<DialFactorReading> factors, std::string description);

}  // namespace duoskop
