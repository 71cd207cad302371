// SPDX-License-Identifier: GPL-3.0-or-later
// Where the movers stand through time: the sampled longitudes the search for hits sweeps, also
// read by the dial's outer ring (one instant) and the graphic ephemeris (curves), so that all
// three agree on where a mover stands.
#pragma once

#include <cstddef>
#include <vector>

#include "app/chart_state.h"
#include "timeline/sweep.h"
#include "timeline/timeline.h"

namespace duoskop {

/// One sampled longitude and the movers that follow it, between the instants lo and hi.
struct PathTrack {
    Track track;
    std::vector<TrackMover> movers;
    double lo = 0, hi = 0;  ///< Julian days (UT) within which the track's passes count
};

/// The movers of a request and their paths through time.
struct MoverPaths {
    std::vector<Mover> movers;
    std::vector<PathTrack> tracks;
    bool cancelled = false;

    /// The longitude of mover `index` at instant `t` (Julian day UT), degrees in [0, 360); not a
    /// number where its path does not reach (a solar arc before the birth, a transit outside the
    /// years of the precise positions, an instant outside the request's range).
    double longitude(std::size_t index, double t) const;
    /// The same unwrapped: continuous along the path, without jumps of 360.
    double unwrapped_longitude(std::size_t index, double t) const;
};

/// The paths of the request's movers between request.from and request.to (with a margin of a day),
/// sampled through positions_at as the search for hits samples them. Honours the request's stop
/// token and progress.
MoverPaths mover_paths(const ChartState& chart, const TimelineRequest& request);

/// The hits of compute_timeline(chart, request) found on paths that mover_paths(chart, request)
/// has computed already: a drawing of the paths and its hits then share one computation.
Timeline compute_timeline(const ChartState& chart, const TimelineRequest& request, const MoverPaths& paths);

/// The movers of the request (as mover_paths chooses them) and their longitudes at one instant,
/// degrees in [0, 360), not a number where a mover has no position then.
struct MoversAt {
    std::vector<Mover> movers;
    std::vector<double> longitudes;
};
MoversAt movers_at(const ChartState& chart, const TimelineRequest& request, double instant);

}  // namespace duoskop
