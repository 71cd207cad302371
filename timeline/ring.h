// SPDX-License-Identifier: GPL-3.0-or-later
// The dial's outer ring for one instant: the solar arcs and transits of a request where they stand
// then, as named points of the dial, from the one routine that knows where a mover stands
// (movers_at).
#pragma once

#include <string>
#include <vector>

#include "app/chart_state.h"
#include "dialview/midpoints.h"
#include "timeline/timeline.h"

namespace duoskop {

/// The movers of the ring unless chosen otherwise: the solar arcs of both persons of
/// ring_arc_bodies() (MC, SO, AS, MO) and the transits of ring_transit_bodies() (JU to PL).
TimelineRequest ring_request();

/// The movers of `request` at `instant` (Julian day, universal time) as points of the dial, in the
/// order of movers_at: the name as mover_name writes it ("SB1:SO", "T:SA") and the longitude in
/// degrees, [0, 360). A mover without a position then (a solar arc before its person's birth, a
/// transit outside the years of its source) is left out; so are MC and AS of a person whose birth
/// time is unknown.
std::vector<MovingPoint> ring_points(const ChartState& chart, const TimelineRequest& request, double instant);

/// The corner text of the ring (Windows-1252): "Auslöser 15.06.2024 12:00 UT", the instant to the
/// minute in the chart calendar.
std::string ring_legend(double instant);

}  // namespace duoskop
