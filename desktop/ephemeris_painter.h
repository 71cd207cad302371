// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the graphic ephemeris with QPainter: time left to right with month and year ticks, the dial
// position bottom to top over one turn of the dial, the targets as labelled horizontal lines, the
// movers as labelled curves and the hits as small circles. Needs only Qt Gui (and Qt SVG for the
// SVG file), so the command line and the report draw it without a display.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <utility>

#include "desktop/picture_colours.h"
#include "ephemeris/ephemeris.h"

class QPainter;
class QImage;

namespace duoskop {

/// Where the drawing's axes lie in a picture: the plot's rectangle and the mapping between
/// (instant, dial position) and device units.
struct EphemerisFrame {
    QRectF plot;
    double from = 0, to = 1, modulus = 22.5;
    double text_size = 10;  ///< pixel size of the labels' font

    QPointF point(double t, double y) const;
    /// The instant (Julian day UT) and dial position at a device point, clamped to the plot.
    std::pair<double, double> at(QPointF p) const;
};

/// The frame of `ephemeris` drawn into `area`.
EphemerisFrame ephemeris_frame(const QRectF& area, const Ephemeris& ephemeris);

/// Draws the graphic ephemeris into `area` (device units of the painter) under `title`; the hit
/// `selected` (index into ephemeris.hits) stands out; files and paper keep the light colours.
void paint_ephemeris(QPainter& painter, const QRectF& area, const Ephemeris& ephemeris, const QString& title,
                     std::optional<std::size_t> selected = std::nullopt,
                     const PictureColours& colours = light_colours());

/// The graphic ephemeris as a picture of width x height pixels on white.
QImage ephemeris_image(const Ephemeris& ephemeris, const QString& title, int width, int height);

/// As PNG; as SVG (labels stay text, the `<title>` is `title` as plain text); as a one-page PDF in
/// A4 landscape, drawn as vectors.
QByteArray ephemeris_png(const Ephemeris& ephemeris, const QString& title, int width, int height);
QByteArray ephemeris_svg(const Ephemeris& ephemeris, const QString& title, int width, int height);
QByteArray ephemeris_pdf(const Ephemeris& ephemeris, const QString& title);

}  // namespace duoskop
