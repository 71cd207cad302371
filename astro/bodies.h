// SPDX-License-Identifier: GPL-3.0-or-later
// Bodies, positions and birth data: the types every chart computation reads and writes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace duoskop {

/// The 24 ecliptic longitudes of one chart in degrees, indexed like `body_codes`.
using Positions = std::array<double, 24>;

/// Two-letter codes of the bodies; the index is the index of every position array.
inline constexpr std::array<std::string_view, 24> body_codes = {
    "MC", "WI", "SO", "AS", "MO", "KN", "ME", "VE", "MA", "JU", "SA", "UR",
    "NE", "PL", "CU", "HA", "ZE", "KR", "AP", "AD", "VU", "PO", "GZ", "Du"};

/// Bodies 0..21 (MC..PO) take part in the comparisons; GZ and Du never do.
inline constexpr int compared_bodies = 22;

/// Two blanks, then the twelve three-letter sign abbreviations from WID (0-30) to FIS (330-360).
inline constexpr std::string_view sign_abbrev = "  WIDSTIZWIKRELOEJUNWAASKOSCHSTEWASFIS";

/// Birth data of the person being loaded, read out of a chart record by `werte_aktual`.
struct BirthData {
    std::int32_t birth_day = 0;
    std::int32_t birth_month = 0;
    std::int32_t birth_year = 0;
    double birth_time = 0;     ///< hours, universal time
    double geo_longitude = 0;  ///< degrees, east positive
    double geo_latitude = 0;   ///< degrees, north positive
    bool operator==(const BirthData&) const = default;
};

}  // namespace duoskop
