// SPDX-License-Identifier: GPL-3.0-or-later
// The search for hits: a longitude sampled on a uniform grid, interpolated by a polynomial of
// degree 7 in each step, swept through the targets sorted by dial position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "timeline/timeline.h"

namespace duoskop {

/// One longitude through time: samples on a uniform grid of instants.
struct Track {
    double t0 = 0;  ///< instant of the first sample, Julian day (UT)
    double dt = 1;  ///< days between two samples
    std::vector<double> u;  ///< the longitude in degrees, unwrapped (no jumps of 360)

    /// The instant of a sample position x (0 = first sample; fractions lie between samples).
    double instant(double x) const { return t0 + x * dt; }
    /// The longitude at instant `t`, interpolated; `t` must lie within the samples.
    double value_at(double t) const;
};

/// A mover that follows a track at a fixed distance: its longitude is track + offset (the
/// directed factors of one person share the track of the solar arc).
struct TrackMover {
    std::uint16_t mover = 0;  ///< index into Timeline::movers
    double offset = 0;        ///< degrees
};

/// The targets sorted by their dial position.
struct DialTargets {
    std::vector<double> dial;          ///< dial positions in [0, 22.5), ascending
    std::vector<std::uint16_t> index;  ///< the target of each, index into Timeline::targets
    std::vector<int> turn;             ///< floor(longitude / 22.5) of each: 0..15

    explicit DialTargets(const std::vector<Target>& targets);
};

/// A pass of a mover over a target, or a station touching it (direction s).
struct Pass {
    double instant = 0;
    std::uint16_t mover = 0;
    std::uint16_t target = 0;
    std::uint8_t step = 0;  ///< mover - target in steps of 22.5 degrees: 0..15
    Direction direction = Direction::direct;
};

/// Every pass of the movers of `track` over the targets between the instants `lo` and `hi`, and
/// every station of the track that comes within `station_touch_degrees` of a target without
/// crossing it (appended to `passes`); the instants of the track's stations are appended to
/// `stations`, ascending.
void sweep_track(const Track& track, std::span<const TrackMover> movers, const DialTargets& targets, double lo,
                 double hi, std::vector<Pass>& passes, std::vector<double>& stations);

/// Two or more passes of one mover over one target, each less than `station_merge_days` after
/// the one before, become one pass "s" at the station between them (else at their middle).
/// `passes` is sorted by mover, target and instant on return; `stations` holds the ascending
/// station instants of each mover's track (indexed by mover).
void merge_station_passes(std::vector<Pass>& passes, const std::vector<std::vector<double>>& stations);

}  // namespace duoskop
