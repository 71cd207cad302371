// SPDX-License-Identifier: GPL-3.0-or-later
// The full German names of the bodies and of the signs (Windows-1252), for texts that are read
// aloud or written out rather than abbreviated.
#pragma once

#include <array>
#include <string_view>

#include "astro/bodies.h"

namespace duoskop {

/// The full name of each body, indexed like `body_codes`.
inline constexpr std::array body_full_names = {
    std::string_view("MC"),          std::string_view("Widderpunkt"),  std::string_view("Sonne"),
    std::string_view("Aszendent"),   std::string_view("Mond"),         std::string_view("Mondknoten"),
    std::string_view("Merkur"),      std::string_view("Venus"),        std::string_view("Mars"),
    std::string_view("Jupiter"),     std::string_view("Saturn"),       std::string_view("Uranus"),
    std::string_view("Neptun"),      std::string_view("Pluto"),        std::string_view("Cupido"),
    std::string_view("Hades"),       std::string_view("Zeus"),         std::string_view("Kronos"),
    std::string_view("Apollon"),     std::string_view("Admetos"),      std::string_view("Vulkanus"),
    std::string_view("Poseidon"),    std::string_view("Galaktisches Zentrum"),
    std::string_view("Du")};
static_assert(body_full_names.size() == body_codes.size());

/// The full names of the twelve signs from Widder (0-30 degrees) to Fische (330-360 degrees), in
/// the order of `sign_abbrev`.
inline constexpr std::array sign_full_names = {
    std::string_view("Widder"),    std::string_view("Stier"),      std::string_view("Zwillinge"),
    std::string_view("Krebs"),     std::string_view("L\xF6we"),    std::string_view("Jungfrau"),
    std::string_view("Waage"),     std::string_view("Skorpion"),   std::string_view("Sch\xFCtze"),
    std::string_view("Steinbock"), std::string_view("Wassermann"), std::string_view("Fische")};
static_assert(sign_full_names.size() == 12);

}  // namespace duoskop
