// SPDX-License-Identifier: GPL-3.0-or-later
// The options that choose what moves and what is hit, read alike by `timeline`, `dial` and
// `ephemeris`: --movers, --transits, --targets, --arc and --transits-from.
#pragma once

#include <string>
#include <string_view>

#include "timeline/timeline.h"

namespace duoskop::cli {

/// Whether `name` is one of the options read_timeline_option reads.
bool is_timeline_option(std::string_view name);

/// Reads one of those options with its value into `request`; the reason (UTF-8) when the value is
/// wrong, else empty. --movers sb1,sb2,t chooses the kinds; --transits the transiting bodies;
/// --targets ergebnis, faktoren, kreuz, eigene, alle or point names; --arc true|naibod;
/// --transits-from genau|theorie.
std::string read_timeline_option(std::string_view name, const std::string& value, TimelineRequest& request);

/// Why the request's range cannot take precise transits (its years outside those of the precise
/// positions), as a German reason (UTF-8); empty when it can or when the transits are not precise.
std::string precise_range_problem(const TimelineRequest& request);

}  // namespace duoskop::cli
