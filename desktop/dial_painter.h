// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the dial of any size with QPainter: the scale, person 1's factors on the inner ring,
// person 2's on the outer ring, the pointer, highlighted factors and the arcs of a picture, and for
// an instant a third ring outside them with the solar arcs and transits of that moment.
// Needs only Qt Gui (and Qt SVG for the SVG file), so the command line can draw without a display.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QRectF>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "astro/bodies.h"
#include "desktop/picture_colours.h"
#include "dialview/dial_view.h"
#include "dialview/midpoints.h"

class QPainter;
class QImage;

namespace duoskop {

/// What one picture of the dial shows.
struct DialScene {
    double modulus = dial_span;      ///< the dial's size (dial_moduli), degrees of longitude a turn
    Positions pos1{};                ///< person 1, inner ring
    std::optional<Positions> pos2;   ///< person 2, outer ring, when loaded
    QString legend1;                 ///< "innen: ..." corner text, empty for none
    QString legend2;                 ///< "außen: ..." corner text, empty for none
    std::optional<double> pointer;   ///< dial position of the pointer on this dial, degrees
    std::array<bool, compared_bodies> highlighted{};  ///< bodies marked in both rings
    std::vector<std::pair<EntryFactor, EntryFactor>> arcs;  ///< pairs joined through their midpoint
    PictureColours colours = light_colours();  ///< the set to paint with; files and paper keep the light one
    /// The third ring outside person 2's: solar arcs ("SB1:SO", "SB2:MC") and transits ("T:SA") at
    /// one instant; none draws the dial without it, exactly as before.
    std::vector<MovingPoint> movers;
    QString legend_movers;           ///< corner text of the third ring ("Auslöser ..."), empty for none
};

/// The scene of a result entry's picture: pointer on its axis A/B (on the 360-degree dial its
/// nearer point), A, B, C, D highlighted and the arcs A-B and C-D.
void show_entry_picture(DialScene& scene, const EntryPicture& picture);

/// Draws the dial into the largest square centred in `area` (device units of the painter).
void paint_dial(QPainter& painter, const QRectF& area, const DialScene& scene);

/// Where paint_dial draws the codes of a ring of factors into `area`: ring 0 is person 1's (inner),
/// ring 1 person 2's (outer); `longitudes` are the ring's factors in the order the painter takes
/// them (by body index), each with a position. One box per longitude (in the units of `area`).
std::vector<QRectF> ring_label_boxes(const QRectF& area, double modulus, int ring,
                                     const std::vector<double>& longitudes);

/// The dial as a square picture of `size` pixels on the scene's background.
QImage dial_image(const DialScene& scene, int size);

/// The dial as PNG or as SVG (labels stay text) of `size` pixels; the SVG's `<title>` is `title`
/// as plain text (names in it are never markup).
QByteArray dial_png(const DialScene& scene, int size);
QByteArray dial_svg(const DialScene& scene, int size, const QString& title);

/// An SVG picture of width x height pixels on `background` drawn by `paint`; its `<title>` is
/// `title` as plain text. Every SVG the program draws is made here.
QByteArray svg_picture(int width, int height, const QString& title, const QColor& background,
                       const std::function<void(QPainter&)>& paint);

/// Writes picture bytes as the whole new content of `path`; empty on success, else the German
/// I/O error text (Windows-1252).
std::string save_picture(const std::string& path, const QByteArray& bytes);

}  // namespace duoskop
