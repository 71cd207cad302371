// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the dial read aloud (Windows-1252): angles, persons, midpoints and the pointer.
#pragma once

#include <string_view>

namespace duoskop::texts {

inline constexpr std::string_view kSpokenDegrees = " Grad ";
inline constexpr std::string_view kSpokenMinutes = " Minuten";
inline constexpr std::string_view kSpokenPerson = ", Person ";
inline constexpr std::string_view kSpokenMidpoint = "Halbsumme ";
inline constexpr std::string_view kSpokenAnd = " und ";
inline constexpr std::string_view kSpokenPointer = "Zeiger ";
inline constexpr std::string_view kSpokenDistance = ", Abstand ";
inline constexpr std::string_view kSpokenEqual = "gleich ";
inline constexpr std::string_view kSpokenNothing = "nichts auf dem Zeiger";
inline constexpr std::string_view kSpokenOrb = ", Orbis ";
inline constexpr std::string_view kSpokenSolarArc = "Sonnenbogen ";
inline constexpr std::string_view kSpokenTransit = ", Transit";

}  // namespace duoskop::texts
