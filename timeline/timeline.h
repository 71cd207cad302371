// SPDX-License-Identifier: GPL-3.0-or-later
// When the pair's points are hit ("Auslösungen"): the instants at which a solar arc direction of
// either person, or a transit, stands a whole multiple of 22.5 degrees from a point of the pair,
// and the clusters in which such hits on the comparisons' points come close together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "app/chart_state.h"
#include "dialview/pair_points.h"
#include "precise/precise_positions.h"

namespace duoskop {

/// Days of one year of life in the solar arc's age: a = (D - birth) / 365.2422.
inline constexpr double arc_year_days = 365.2422;
/// The Naibod arc in degrees per year of age.
inline constexpr double naibod_rate = 0.98564733;
/// Two passes of one mover over one target closer than this (days) are one hit "s".
inline constexpr double station_merge_days = 30.0 / 1440.0;
/// A station that comes this close to a target (degrees) without crossing it is a hit "s".
inline constexpr double station_touch_degrees = 1.0 / 3600.0;

/// How the solar arc is measured.
enum class ArcKind {
    true_arc,  ///< the Sun's progress: SA = Sun(birth + a days) - Sun(birth)
    naibod,    ///< a x 0.98564733 degrees
};

/// What moves: a directed factor of person 1 or 2, or a transiting body.
struct Mover {
    enum class Kind : std::uint8_t { arc1, arc2, transit };
    Kind kind = Kind::transit;
    std::uint8_t body = 0;  ///< body index 0..21
    bool operator==(const Mover&) const = default;
    /// The person whose solar arc moves it: 1, 2, or 0 for a transit.
    int person() const { return kind == Kind::arc1 ? 1 : kind == Kind::arc2 ? 2 : 0; }
};

/// "SB1:SO", "SB2:MC", "T:SA".
std::string mover_name(const Mover& mover);

/// The transits a run takes unless told otherwise: JU to PL and the eight transneptunian points.
std::vector<std::uint8_t> default_transit_bodies();
/// The factors whose solar arcs a run directs unless told otherwise: all 22.
std::vector<std::uint8_t> default_arc_bodies();
/// The movers of the dial's outer ring and of the graphic ephemeris unless told otherwise: the
/// solar arcs of MC, AS, SO and MO, and the transits of JU to PL.
std::vector<std::uint8_t> ring_arc_bodies();
std::vector<std::uint8_t> ring_transit_bodies();
/// Whether a body may transit: SO, MO, KN and ME to PO (not MC, WI, AS).
bool transit_body_allowed(std::uint8_t body);

/// A point of the pair that the movers are measured against.
struct Target {
    PairPoint point;
    double longitude = 0;   ///< degrees, [0, 360); a midpoint's plain mean
    bool ergebnis = false;  ///< one of the points the comparisons found (see ergebnis_points)
};

/// Which targets a run takes; their union, each point once.
struct TargetChoice {
    bool ergebnis = false;  ///< the points of the comparisons (ergebnis_points)
    PointSets sets;         ///< faktoren, kreuz, eigene
    std::vector<PairPoint> named;
};

/// Whether the birth time of a chart is known: "12:00:00" marks an unknown one.
bool birth_time_known(const chart_record& record);

/// The points of the pair that the comparisons found: the axes MC1/MC2 and SO1/SO2 and MC1, MC2,
/// SO1, SO2 themselves, the natal MC, AS, SO and MO of both persons, and with orbs the midpoints
/// A/B and C/D of every entry of the comparisons (the half-sum evaluation only with a positive
/// half-sum orb), each from the chart the comparison took it from. MC and AS, and every point
/// holding them, of a person whose birth time is unknown are left out. Each point once.
std::vector<PairPoint> ergebnis_points(const ChartState& chart, const std::optional<Orbs>& orbs);

/// What to compute.
struct TimelineRequest {
    double from = 0;  ///< first instant, Julian day (UT)
    double to = 0;    ///< last instant, Julian day (UT); from <= to
    bool arc1 = true;      ///< directed factors of person 1 (SB1:XX)
    bool arc2 = true;      ///< directed factors of person 2 (SB2:XX)
    bool transits = true;  ///< transits (T:XX) of `transit_bodies`
    std::vector<std::uint8_t> transit_bodies = default_transit_bodies();
    /// The factors directed by the solar arcs (MC and AS only where the birth time is known).
    std::vector<std::uint8_t> arc_bodies = default_arc_bodies();
    ArcKind arc = ArcKind::true_arc;
    /// Where the natal positions came from; the Sun that measures the solar arc comes from here.
    PositionSource natal_source = PositionSource::theory;
    /// Where the transits of SO, MO and ME to PL come from.
    PositionSource transit_source = PositionSource::precise;
    TargetChoice targets{true, {}, {}};
    std::optional<Orbs> orbs;  ///< the comparisons' orbs for the ergebnis points; none: axes and points
    double cluster_days = 30;  ///< N: at most this many days from one hit of a cluster to the next
    std::size_t cluster_targets = 3;  ///< K: a cluster holds at least this many distinct targets
    std::stop_token stop;  ///< a stop request ends the run early (cancelled)
    /// Called now and then with the share done, 0..1, from the thread that runs.
    std::function<void(double)> progress;
};

enum class Direction : char { direct = 'd', retrograde = 'r', station = 's' };

struct Hit {
    double instant = 0;        ///< Julian day (UT)
    std::uint16_t mover = 0;   ///< index into Timeline::movers
    std::uint16_t target = 0;  ///< index into Timeline::targets
    std::uint8_t angle = 0;    ///< Winkel in steps of 22.5 degrees: 0..8 (factor), 0..4 (midpoint)
    Direction direction = Direction::direct;
    bool ergebnis = false;     ///< the target is one of the comparisons' points
};

/// A run of hits on ergebnis targets close together in time.
struct Cluster {
    double first = 0;  ///< instant of its first hit
    double last = 0;   ///< instant of its last hit
    std::vector<std::uint32_t> hits;  ///< indices into Timeline::hits, in time order
    std::size_t targets = 0;          ///< distinct targets
    bool touches1 = false;  ///< a hit touches person 1 (its mover is SB1 or its target holds a factor of person 1)
    bool touches2 = false;
    bool beide = false;     ///< it holds a solar-arc hit of each person
};

struct Timeline {
    std::vector<Mover> movers;
    std::vector<Target> targets;
    std::vector<Hit> hits;          ///< by instant, then mover, then target
    std::vector<Cluster> clusters;  ///< by instant
    bool time_known1 = true;
    bool time_known2 = true;
    bool cancelled = false;
};

/// Every hit of the chosen movers on the chosen targets between request.from and request.to for
/// the pair of `chart` (records, natal positions and axes as a load leaves them), by instant, and
/// the clusters. The movers' longitudes are sampled through positions_at at a step that suits
/// each one's speed and interpolated (degree 7); the targets are sorted by dial position once and
/// each mover sweeps through them; each crossing is refined to well under a second. Safe to call
/// from any thread.
Timeline compute_timeline(const ChartState& chart, const TimelineRequest& request);

/// The clusters of `hits` (by instant) on ergebnis targets: maximal runs in which each hit comes at
/// most `days` after the one before, holding at least `min_targets` distinct targets.
std::vector<Cluster> find_clusters(const std::vector<Hit>& hits, const std::vector<Mover>& movers,
                                   const std::vector<Target>& targets, double days, std::size_t min_targets);

/// The Winkel of a hit as text with a decimal comma: "0", "22,5", "45", ... "180".
std::string angle_text_of(std::uint8_t angle);

}  // namespace duoskop
