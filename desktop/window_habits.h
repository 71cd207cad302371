// SPDX-License-Identifier: GPL-3.0-or-later
// What every window of the additions does the same way: Escape closes it, a table takes the
// keyboard as a list of records does (Tab selects, Enter opens, Delete deletes), a window grows
// when a text in it needs more room than it has, and it opens on the screen.
#pragma once

#include <functional>

class QAbstractItemView;
class QWidget;

namespace duoskop {

/// Escape anywhere in `window` closes it (dialogs reject, which closes them as well).
void close_on_escape(QWidget& window);

/// The keyboard of a table of records: coming into the table with Tab selects the current row
/// (the first when there is none), Enter or Return calls `open` and Delete calls `remove`.
void record_table_keys(QAbstractItemView& table, std::function<void()> open, std::function<void()> remove);

/// Makes `window` tall enough for its layout at its present width (word-wrapped texts included),
/// so that a text that grew is not cut; a window on the screen stays on it.
void grow_to_fit(QWidget& window);

/// Puts `window` on the screen's free area (without the panels): no larger than that area, as far
/// as its minimum size allows, and moved inside it where it was placed partly outside. A window
/// the window manager places and that fits is left where the window manager puts it.
void place_on_screen(QWidget& window);

/// Does `place_on_screen` each time `window` is about to be shown.
void keep_on_screen(QWidget& window);

}  // namespace duoskop
