// SPDX-License-Identifier: GPL-3.0-or-later
// The order of the main window's "Extras" menu: one list decides where each addition stands and
// where the separators between its groups go, whichever part of the program made the entry.
#pragma once

#include <span>
#include <string_view>

class QMenu;

namespace duoskop {

/// The groups of the Extras menu, top to bottom; a separator stands between two groups.
enum class ExtrasGroup { data, views, time, settings, manual };

/// One entry of the Extras menu: the object name of its action and its group.
struct ExtrasPlace {
    std::string_view action;
    ExtrasGroup group;
};

/// The Extras menu top to bottom. An entry not listed here stands at the end, in a group of its own.
std::span<const ExtrasPlace> extras_order();

/// Puts the entries of `menu` into the listed order with a separator between two groups that
/// both have an entry. Entries added later take their place when the menu is arranged again,
/// which happens each time it is about to open (see `keep_extras_in_order`).
void arrange_extras(QMenu& menu);

/// Arranges `menu` now and again whenever it is about to open.
void keep_extras_in_order(QMenu& menu);

}  // namespace duoskop
