// SPDX-License-Identifier: GPL-3.0-or-later
// "Darstellung": whether the additions' windows and the painted pictures follow the desktop's
// colours or are forced light or dark. The choice is kept in the program's settings; the
// environment variable DUOSKOP_DARSTELLUNG (system, hell, dunkel) wins over it. The main window
// and the result window keep the desktop's own colours whatever is chosen.
#pragma once

#include <QPalette>
#include <optional>
#include <string_view>

class QMenu;
class QWidget;

namespace duoskop {

enum class Appearance { system, light, dark };

/// The appearance a word names: "system", "hell" or "dunkel" in any case; else nothing.
std::optional<Appearance> appearance_named(std::string_view word);
/// The word an appearance is kept as: "system", "hell" or "dunkel".
std::string_view appearance_word(Appearance appearance);

/// The appearance to use: DUOSKOP_DARSTELLUNG when it names one, else the kept setting, else system.
Appearance chosen_appearance();
/// Keeps `appearance` in the program's settings for the next start.
void remember_appearance(Appearance appearance);

/// The palette of the additions' windows in light colours: the style's standard palette with a
/// selection dark enough for white text.
QPalette light_palette();
/// The palette of the additions' windows in dark colours (the dark picture colours' background
/// and text).
QPalette dark_palette();
/// The desktop's own palette, as the application had it before the program first changed it.
const QPalette& desktop_palette();
/// Gives the application the palette of `appearance`: the desktop's own, the style's light
/// standard palette, or the dark palette. Windows and painted pictures follow through their
/// palette-change events.
void apply_appearance(Appearance appearance);
/// Keeps `window` in the desktop's own palette whatever appearance is applied later (for the
/// windows whose colours are fixed).
void keep_desktop_palette(QWidget& window);
/// At a program's start: takes the desktop's own palette and applies the chosen appearance
/// (with "System" the program keeps following the desktop's palette as it changes).
void start_appearance();

/// Adds the submenu "Darstellung" (object name "Darstellung1") with "System", "Hell" and
/// "Dunkel" to `extras`; a choice is applied at once and kept.
QMenu* install_appearance_menu(QMenu& extras);

}  // namespace duoskop
