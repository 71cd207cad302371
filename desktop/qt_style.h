// SPDX-License-Identifier: GPL-3.0-or-later
// The look the main window and the result window share: colours, fonts and placement.
#pragma once

#include <QLabel>
#include <utility>
#include <QColor>
#include <QFont>
#include <QIcon>

class QWidget;

namespace duoskop {

inline const QColor navy(0x00, 0x00, 0x80);
inline const QColor yellow(0xFF, 0xFF, 0x00);

/// Liberation Sans at a size in pixels.
QFont sans_font(int pixel_size, bool bold);
/// Liberation Sans at a size in points.
QFont sans_font_pt(int point_size);
/// Liberation Mono (a typewriter face where it is missing) at a size in pixels.
QFont mono_font(int pixel_size);

/// Sets the background and text colours of `widget`; `fill` paints its background.
void set_colours(QWidget* widget, const QColor& base, const QColor& text, bool fill = true);

/// The program's icon: "duoskop" of the desktop's icon theme, else the PNG files installed beside
/// the program (<bin>/../share/icons/hicolor/NxN/apps/duoskop.png; the build tree has them too).
QIcon program_icon();

/// Moves the window so that its frame is centred on the primary screen.
void centre_on_screen(QWidget* window);

/// A new label that shows its text as it stands, never as markup: names, places, paths and typed
/// text come from other people.
template <typename... Args>
QLabel* plain_label(Args&&... args)
{
    auto* label = new QLabel(std::forward<Args>(args)...);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace duoskop
