// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the precise positions and their table (Windows-1252 bytes).
#pragma once

#include <string_view>

namespace duoskop::texts {

inline constexpr std::string_view kPreciseTableDamaged =
    "Die Positionstabelle ist besch\xE4" "digt oder unvollst\xE4" "ndig.";
inline constexpr std::string_view kPreciseTableForeign = "Die Datei ist keine Positionstabelle.";
inline constexpr std::string_view kPreciseTableVersion =
    "Die Positionstabelle stammt von einer anderen Programmversion oder einem anderen Rechnertyp.";
/// The line of `duoskop-cli --version` that names the table the precise positions come from.
inline constexpr std::string_view kPreciseTableLine = "Positionstabelle: ";
inline constexpr std::string_view kPreciseTableNone = "keine";
inline constexpr std::string_view kPreciseTableFittedFrom = "aus libnova ";
inline constexpr std::string_view kPreciseTableLoaded = ", geladen ist libnova ";
inline constexpr std::string_view kPreciseTableYearsTo = " bis ";

}  // namespace duoskop::texts
