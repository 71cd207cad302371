// SPDX-License-Identifier: GPL-3.0-or-later
// The state a chart load fills and every comparison reads, as plain values a window owns.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "astro/bodies.h"

namespace duoskop {

/// One person's record of a chart file: seven texts of at most 10 Windows-1252 characters.
struct chart_record {
    std::string name;
    std::string first_name;
    std::string date;            ///< DD.MM.YYYY
    std::string time;            ///< HH:MM:SS, universal time; "12:00:00" marks an unknown time
    std::string extra;           ///< shown, never interpreted
    std::string longitude_text;  ///< sign, DDD MM SS; east positive
    std::string latitude_text;   ///< sign, DD MM SS; north positive
    bool operator==(const chart_record&) const = default;
};

/// The six search axes MC1/MC1, MC1/MC2, MC2/MC2, SO1/SO1, SO1/SO2, SO2/SO2.
struct SearchAxes {
    std::array<double, 6> axis_value{};      ///< dial positions in degrees, 0 <= v < 22.5
    std::array<std::string, 6> axis_name{};  ///< at most 7 characters each
};

/// The three orbs in degrees, as the user entered them (no range check).
struct Orbs {
    double orb_double = 0;
    double orb_simple = 0;
    double orb_halfsum = 0;
};

/// Each hint is shown once per run; a flag is cleared when its hint has been shown.
struct FirstTimeFlags {
    bool hint_start = true;
    bool hint_orbs = true;
    bool hint_solar = true;
    bool hint_doubles = true;
    bool hint_simples = true;
    bool hint_halfsums = true;
};

/// What a load fills and every comparison reads.
struct ChartState {
    chart_record person1;
    chart_record person2;
    Positions pos1{};       ///< person 1; all zero until the first load
    Positions pos2{};       ///< person 2
    Positions positions{};  ///< the chart computed last
    BirthData birth;        ///< birth data of the person loaded last
    SearchAxes axes;        ///< formed at every load of person 2
};

/// Counts of the midpoints (k, l), k <= l < 22, found by the simple complements.
using HalfsumCount = std::array<std::array<std::uint32_t, compared_bodies>, compared_bodies>;

}  // namespace duoskop
