// SPDX-License-Identifier: GPL-3.0-or-later
// The German texts of the graphic ephemeris, as Windows-1252 bytes: month names of the time axis
// and the words of the title.
#pragma once

#include <iterator>
#include <string_view>

namespace duoskop::texts {

// The month ticks of the time axis, January first
inline constexpr std::string_view kEphemerisMonths[] = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun",
                                                        "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
static_assert(std::size(kEphemerisMonths) == 12);

// The title: "Grafische Ephemeride Eva Albrecht – Karl Hollmann, 01.01.2025 bis 31.12.2025, 22,5°"
inline constexpr std::string_view kEphemerisCaption = "Grafische Ephemeride";
inline constexpr std::string_view kEphemerisPersonsBetween = " \x96 ";
inline constexpr std::string_view kEphemerisRangeBetween = " bis ";
inline constexpr std::string_view kEphemerisDegree = "\xB0";

}  // namespace duoskop::texts
