// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an orb from one of the main window's orb fields.
#pragma once

#include <string_view>

namespace duoskop {

struct OrbReading {
    double value = 0;  ///< degrees; the number read up to the first character that did not fit
    bool ok = false;   ///< the whole text was a number (an empty text is not)
};

/// Reads an orb field: the second character becomes '.', so that "1,5" reads as 1.5 and "25" as
/// 2.0; then blanks, sign, digits, '.', digits and an exponent must make up the whole text.
/// A number too large for a double ("1e400") is refused like any other non-number.
OrbReading read_orb(std::string_view field_text);

}  // namespace duoskop
