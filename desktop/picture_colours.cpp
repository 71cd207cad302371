// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/picture_colours.h"

#include <QPalette>
#include <algorithm>
#include <cmath>

namespace duoskop {

PictureColours light_colours()
{
    return {
        .background = QColor(0xFF, 0xFF, 0xFF),
        .face = QColor(0xFF, 0xFF, 0xF4),
        .scale = QColor(0x40, 0x40, 0x40),
        .text = QColor(0x00, 0x00, 0x00),
        .person1 = QColor(0x00, 0x00, 0x80),  // navy, as the main window
        .person2 = QColor(0x00, 0x64, 0x00),  // dark green
        .pointer = QColor(0xD0, 0x00, 0x00),
        .pointer_fill = QColor(0xFF, 0xFF, 0xFF),
        .highlight = QColor(0xFF, 0xFF, 0x00),
        .arcs = {QColor(0xE0, 0x70, 0x00), QColor(0x80, 0x00, 0xA0)},
        .movers = QColor(0xA0, 0x52, 0x2D),
        .target_lines = QColor(0x70, 0x70, 0x70),
        .grid = QColor(0x59, 0x59, 0x59),
        .hits = QColor(0xC0, 0x00, 0x60),
        .refused = QColor(0xB0, 0x00, 0x00),
    };
}

PictureColours dark_colours()
{
    // Light strokes on a near-black face; the persons keep blue and green, the pointer red, and a
    // marked code stands on dark gold, so that its light code stays readable.
    return {
        .background = QColor(0x1E, 0x1E, 0x1E),
        .face = QColor(0x26, 0x26, 0x2A),
        .scale = QColor(0xB4, 0xB4, 0xB4),
        .text = QColor(0xE6, 0xE6, 0xE6),
        .person1 = QColor(0x8A, 0xB4, 0xF8),
        .person2 = QColor(0x81, 0xC9, 0x95),
        .pointer = QColor(0xFF, 0x7B, 0x72),
        .pointer_fill = QColor(0x1E, 0x1E, 0x1E),
        .highlight = QColor(0x4A, 0x3F, 0x00),
        .arcs = {QColor(0xFF, 0xB7, 0x4D), QColor(0xCE, 0x93, 0xD8)},
        .movers = QColor(0xF0, 0xA8, 0x68),
        .target_lines = QColor(0x8C, 0x8C, 0x8C),
        .grid = QColor(0xA8, 0xA8, 0xA8),
        .hits = QColor(0xFF, 0x80, 0xAB),
        .refused = QColor(0xFF, 0x8A, 0x80),
    };
}

PictureColours colours_for(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5 ? dark_colours() : light_colours();
}

double relative_luminance(const QColor& colour)
{
    // sRGB channels to linear light, then weighted by the eye's sensitivity.
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrast_ratio(const QColor& a, const QColor& b)
{
    const double la = relative_luminance(a);
    const double lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace duoskop
