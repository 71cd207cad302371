// SPDX-License-Identifier: GPL-3.0-or-later
// The graphic ephemeris of a pair as plain geometry: time runs along x (Julian days UT), the dial
// position bottom to top over one turn of the dial along y (degrees, [0, modulus]). The targets
// are horizontal lines, the movers curves sampled from their paths through time (the samples the
// search for hits sweeps), and each hit of the timeline is a point on its line. A painter maps the
// two axes to its picture; the tests read the geometry, not pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "timeline/timeline.h"

namespace duoskop {

/// The dial sizes the graphic ephemeris draws, the default first: the hits of the timeline lie
/// 22.5 degrees apart, so smaller dials than 22.5 would show crossings that are none.
inline constexpr double ephemeris_moduli[] = {22.5, 45.0, 90.0};
static_assert(std::size(ephemeris_moduli) == 3);

/// The dial size a text names when the graphic ephemeris draws it ("45", "22,5", "22.5", "90").
std::optional<double> parse_ephemeris_modulus(std::string_view text);

/// A request with the graphic ephemeris' defaults between `from` and `to` (Julian days UT): the
/// movers of the dial's outer ring (solar arcs of MC, SO, AS, MO of both, transits of JU to PL)
/// and the targets of the comparisons' result.
TimelineRequest ephemeris_request(double from, double to);

/// The range the graphic ephemeris shows unless told otherwise: from the first of the month of
/// `today` (a Julian day UT) for one year, as [from, to) in Julian days UT.
struct EphemerisRange {
    double from = 0;
    double to = 0;
};
EphemerisRange default_ephemeris_range(double today);

/// A tick of the time axis: at the first of a month; January's is a year tick.
struct TimeTick {
    double instant = 0;  ///< Julian day UT of 0h on the first of the month
    std::string label;   ///< "Feb" on a month tick, "1.2025" on a year tick (Windows-1252)
    bool year = false;
};

/// A target as a horizontal line.
struct TargetLine {
    std::uint16_t target = 0;  ///< index into Ephemeris::timeline.targets
    double y = 0;              ///< dial position, [0, modulus)
    std::string label;         ///< the point's name: "MC1", "MC1/VE2"
    bool ergebnis = false;
};

/// A point of a curve: instant (Julian day UT) and dial position (degrees).
struct CurvePoint {
    double t = 0;
    double y = 0;
};

/// A mover as a curve: the pieces between the places where it wraps at the top or the bottom of
/// the dial (each piece ends on the edge where it leaves and the next begins on the other edge).
struct MoverCurve {
    std::uint16_t mover = 0;  ///< index into Ephemeris::timeline.movers
    std::string label;        ///< "SB1:SO", "T:SA"
    std::vector<std::vector<CurvePoint>> pieces;
    std::optional<CurvePoint> label_at;  ///< where the label stands on the curve; none when not drawn
};

/// A hit drawn as a point where its curve crosses its line.
struct EphemerisHit {
    std::size_t hit = 0;   ///< index into Ephemeris::timeline.hits
    std::size_t line = 0;  ///< index into Ephemeris::lines
    std::size_t curve = 0; ///< index into Ephemeris::curves
    double t = 0;          ///< the hit's instant
    double y = 0;          ///< the line's dial position
};

/// The whole drawing.
struct Ephemeris {
    double from = 0, to = 0;  ///< the range drawn, Julian days UT
    double modulus = 22.5;
    Timeline timeline;        ///< the hits of the same request, all of them
    std::vector<TimeTick> ticks;
    std::vector<TargetLine> lines;
    std::vector<MoverCurve> curves;
    std::vector<EphemerisHit> hits;  ///< the hits that are crossings on this dial, by instant
    bool cancelled = false;

    /// Where an instant lies across the range: 0 at `from`, 1 at `to`.
    double x_of(double t) const { return to > from ? (t - from) / (to - from) : 0.0; }
};

/// The graphic ephemeris of the pair of `chart` for `request` (its range, movers and targets) on
/// the dial of `modulus`. Each curve has a point at least every day and, where its mover is fast,
/// every modulus / 48 of dial position, plus one at each of its hits. The hits drawn are those of
/// compute_timeline for the same request whose Winkel is a whole multiple of the modulus: only they
/// cross their target's line on that dial (on the 22.5-degree dial, all). Honours the request's
/// stop token and reports progress (paths, then the search for hits).
Ephemeris compute_ephemeris(const ChartState& chart, const TimelineRequest& request, double modulus);

/// The hit of `ephemeris.hits` nearest to (t, y) in the drawing: distances measured as shares of
/// the range and of the modulus; nothing when no hit is drawn.
std::optional<std::size_t> nearest_drawn_hit(const Ephemeris& ephemeris, double t, double y);

/// "Grafische Ephemeride Eva Albrecht – Karl Hollmann, 01.01.2025 bis 31.12.2025, 22,5°"
/// (Windows-1252); the range's last day is the day before `to`.
std::string ephemeris_title(const ChartState& chart, double from, double to, double modulus);

}  // namespace duoskop
