// SPDX-License-Identifier: GPL-3.0-or-later
// What a click on a result entry shows: the message boxes, in order, with their type and text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/desktop.h"
#include "base/drive_c.h"
#include "results/ktexte.h"
#include "results/pictures.h"

namespace duoskop {

/// One modal message box with the button OK. `text` is Windows-1252, "\r" between lines, and
/// is not cut at 255 characters (a picture text runs to about 1,050).
struct MessageBox {
    BoxType kind = BoxType::information;
    std::string text;
    bool operator==(const MessageBox&) const = default;
};

/// The boxes a click on `entry` shows, given how it resolved:
/// - an I/O error while reading the collection: one error box with the I/O error text;
/// - the picture found: one information box, the entry, an empty line, the kept lines;
/// - index file missing: the collection error box first, then as for "not found" without heading;
/// - not found: the reminder box (error) when the single meanings are not loaded, else one
///   information box with the two single meanings (with the heading "Für  ... Einzeltexte."
///   when the index exists but lacks the picture).
std::vector<MessageBox> click_boxes(std::string_view entry, const Resolution& resolution,
                                    bool ktexte_da);

/// Resolves `entry` and returns the boxes its click shows (ListBox1Click without the widgets).
std::vector<MessageBox> click_display(std::string_view entry, const Ktexte& ktexte,
                                      const DriveC& drive);

}  // namespace duoskop
