// SPDX-License-Identifier: GPL-3.0-or-later
// The colours of the painted pictures (the dial, the graphic ephemeris) as one plain set, light for
// a light window and dark for a dark one, and the contrast of two colours. Needs only Qt Gui.
#pragma once

#include <QColor>
#include <array>

class QPalette;

namespace duoskop {

/// Every colour a painted picture uses.
struct PictureColours {
    QColor background;    ///< around the picture (the widget, an exported image)
    QColor face;          ///< the dial's centre fill
    QColor scale;         ///< the scale's circles, ticks and numbers
    QColor text;          ///< outlines and text without a colour of their own
    QColor person1;       ///< person 1's ring, its codes and its corner text
    QColor person2;       ///< person 2's ring, its codes and its corner text
    QColor pointer;       ///< the pointer, marked ticks and the pointer's text
    QColor pointer_fill;  ///< the plate under the pointer's text
    QColor highlight;     ///< the box behind a marked code
    std::array<QColor, 2> arcs;  ///< the arcs of a picture, first and second pair
    QColor movers;        ///< the outer ring of moving factors, the curves of the graphic ephemeris
    QColor target_lines;  ///< the horizontal lines of the graphic ephemeris
    QColor grid;          ///< the month and year ticks of the graphic ephemeris, their numbers
    QColor hits;          ///< the circles at the hits of the graphic ephemeris
    QColor refused;       ///< a reason why typed data are refused, in the additions' windows
};

/// The colours for a light window: those the pictures have always had (exported files use them).
PictureColours light_colours();
/// The colours for a dark window.
PictureColours dark_colours();
/// The dark set when the palette's window colour is dark (lightness below 50 %), else the light set.
PictureColours colours_for(const QPalette& palette);

/// WCAG 2.1 relative luminance of an sRGB colour, 0 (black) to 1 (white); alpha is ignored.
double relative_luminance(const QColor& colour);
/// WCAG 2.1 contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05) with L1 the lighter, 1 to 21.
double contrast_ratio(const QColor& a, const QColor& b);

}  // namespace duoskop
