// SPDX-License-Identifier: GPL-3.0-or-later
#include "ephemeris/ephemeris.h"

#include <algorithm>
#include <cmath>

#include "astro/calendar.h"
#include "dialview/midpoints.h"
#include "dialview/pair_points.h"
#include "ephemeris/ephemeris_texts.h"
#include "timeline/paths.h"
#include "timeline/timeline_export.h"

namespace duoskop {

namespace {

/// Ranges longer than this many months get year ticks only.
constexpr int max_month_ticks = 36;
/// A curve has at least this many points across the range, and one a day.
constexpr double min_curve_samples = 400;
/// Where a mover is fast, a curve has a point at least every modulus / this of dial position.
constexpr double samples_per_turn = 48;

/// The Julian day UT of 0h on the first of a month; months beyond 12 count on into later years.
double month_start(std::int64_t year, std::int64_t month)
{
    const std::int64_t y = year + (month - 1) / 12;
    const std::int64_t m = (month - 1) % 12 + 1;
    return chart_julian_day0(static_cast<std::int32_t>(y), static_cast<std::int32_t>(m), 1);
}

/// The date of the day in which instant `t` (Julian day UT) falls.
ChartDate date_of(double t) { return chart_date_of(static_cast<std::int64_t>(std::floor(t + 0.5))); }

std::vector<TimeTick> time_ticks(double from, double to)
{
    std::vector<TimeTick> ticks;
    const ChartDate first = date_of(from);
    const ChartDate last = date_of(to);
    const std::int64_t months = (last.year - first.year) * 12 + (last.month - first.month) + 1;
    const bool years_only = months > max_month_ticks;
    for (std::int64_t k = 0; k <= months; ++k) {
        const std::int64_t month = first.month + k;
        const std::int64_t year = first.year + (month - 1) / 12;
        const std::int64_t m = (month - 1) % 12 + 1;
        const double t = month_start(first.year, month);
        if (t < from || t > to) continue;
        const bool year_tick = m == 1;
        if (years_only && !year_tick) continue;
        TimeTick tick;
        tick.instant = t;
        tick.year = year_tick;
        tick.label = year_tick ? "1." + std::to_string(year) : std::string(texts::kEphemerisMonths[m - 1]);
        ticks.push_back(std::move(tick));
    }
    return ticks;
}

/// The instants at which a curve is sampled before refinement: an even grid over the range, at
/// least one a day, and the instants of the mover's hits.
std::vector<double> base_instants(double from, double to, const std::vector<double>& hit_instants)
{
    const double days = to - from;
    const double count = std::max(std::ceil(days), min_curve_samples);
    const auto n = static_cast<std::size_t>(count);
    std::vector<double> ts;
    ts.reserve(n + 1 + hit_instants.size());
    for (std::size_t i = 0; i <= n; ++i) ts.push_back(from + days * static_cast<double>(i) / count);
    for (const double t : hit_instants)
        if (t > from && t < to) ts.push_back(t);
    std::sort(ts.begin(), ts.end());
    return ts;
}

/// Cuts an unwrapped path into pieces of dial positions, ending each piece on the edge where the
/// path leaves the dial's turn and beginning the next on the other edge.
class PieceBuilder {
public:
    PieceBuilder(MoverCurve& curve, double modulus) : curve_(curve), modulus_(modulus) {}

    void add(double t, double u)
    {
        if (!std::isfinite(u)) {
            open_ = false;  // a gap: the path does not reach here
            return;
        }
        const double turn = std::floor(u / modulus_);
        if (!open_) {
            start(t, u - turn * modulus_);
        } else if (turn != turn_) {
            // Each turn boundary between the last point and this one ends a piece on one edge.
            const bool up = turn > turn_;
            for (double k = up ? turn_ + 1 : turn_; up ? k <= turn : k > turn; k += up ? 1 : -1) {
                const double b = k * modulus_;
                const double tb = u == u_ ? t : t_ + (b - u_) / (u - u_) * (t - t_);
                curve_.pieces.back().push_back({tb, up ? modulus_ : 0.0});
                start(tb, up ? 0.0 : modulus_);
            }
            curve_.pieces.back().push_back({t, u - turn * modulus_});
        } else {
            curve_.pieces.back().push_back({t, u - turn * modulus_});
        }
        t_ = t;
        u_ = u;
        turn_ = turn;
    }

private:
    void start(double t, double y)
    {
        curve_.pieces.push_back({{t, y}});
        open_ = true;
    }

    MoverCurve& curve_;
    double modulus_;
    bool open_ = false;
    double t_ = 0, u_ = 0, turn_ = 0;
};

MoverCurve mover_curve(const MoverPaths& paths, std::size_t k, double from, double to, double modulus,
                       const std::vector<double>& hit_instants)
{
    MoverCurve curve;
    curve.mover = static_cast<std::uint16_t>(k);
    curve.label = mover_name(paths.movers[k]);
    PieceBuilder pieces(curve, modulus);
    const double step_degrees = modulus / samples_per_turn;
    double t_last = 0, u_last = NAN;
    for (const double t : base_instants(from, to, hit_instants)) {
        const double u = paths.unwrapped_longitude(k, t);
        // Where the mover is fast, points between the grid's, so that the curve stays smooth.
        if (std::isfinite(u) && std::isfinite(u_last)) {
            const double parts = std::ceil(std::abs(u - u_last) / step_degrees);
            for (double i = 1; i < parts; ++i) {
                const double ti = t_last + (t - t_last) * i / parts;
                pieces.add(ti, paths.unwrapped_longitude(k, ti));
            }
        }
        pieces.add(t, u);
        t_last = t;
        u_last = u;
    }
    return curve;
}

/// The label of each curve at its point nearest to its own share of the range, the shares spread
/// evenly so that labels of curves that run close together stand apart.
void place_labels(std::vector<MoverCurve>& curves, double from, double to)
{
    const double n = static_cast<double>(curves.size());
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const double want = from + (to - from) * (0.06 + 0.88 * (static_cast<double>(i) + 0.5) / n);
        const CurvePoint* best = nullptr;
        for (const auto& piece : curves[i].pieces)
            for (const CurvePoint& p : piece)
                if (best == nullptr || std::abs(p.t - want) < std::abs(best->t - want)) best = &p;
        if (best != nullptr) curves[i].label_at = *best;
    }
}

}  // namespace

std::optional<double> parse_ephemeris_modulus(std::string_view text)
{
    const std::optional<double> modulus = parse_modulus(text);
    if (!modulus) return std::nullopt;
    for (const double m : ephemeris_moduli)
        if (*modulus == m) return modulus;
    return std::nullopt;
}

TimelineRequest ephemeris_request(double from, double to)
{
    TimelineRequest request;
    request.from = from;
    request.to = to;
    request.arc_bodies = ring_arc_bodies();
    request.transit_bodies = ring_transit_bodies();
    return request;
}

EphemerisRange default_ephemeris_range(double today)
{
    const ChartDate d = date_of(today);
    return {month_start(d.year, d.month), month_start(d.year, d.month + 12)};
}

Ephemeris compute_ephemeris(const ChartState& chart, const TimelineRequest& request, double modulus)
{
    Ephemeris e;
    e.from = request.from;
    e.to = request.to;
    e.modulus = modulus;
    e.ticks = time_ticks(e.from, e.to);

    const MoverPaths paths = mover_paths(chart, request);
    if (paths.cancelled) {
        e.cancelled = true;
        return e;
    }
    e.timeline = compute_timeline(chart, request, paths);
    if (e.timeline.cancelled) {
        e.cancelled = true;
        return e;
    }

    for (std::size_t i = 0; i < e.timeline.targets.size(); ++i) {
        const Target& target = e.timeline.targets[i];
        e.lines.push_back({static_cast<std::uint16_t>(i), dial_position(target.longitude, modulus),
                           point_name(target.point), target.ergebnis});
    }

    // A hit is a crossing on this dial when its Winkel is a whole number of turns of the dial.
    const auto steps = static_cast<unsigned>(std::lround(modulus / 22.5));
    std::vector<std::vector<double>> hit_instants(paths.movers.size());
    for (std::size_t h = 0; h < e.timeline.hits.size(); ++h) {
        const Hit& hit = e.timeline.hits[h];
        hit_instants[hit.mover].push_back(hit.instant);
        if (steps == 0 || hit.angle % steps != 0) continue;
        e.hits.push_back({h, hit.target, hit.mover, hit.instant, e.lines[hit.target].y});
    }

    for (std::size_t k = 0; k < paths.movers.size(); ++k) {
        if (request.stop.stop_requested()) {
            e.cancelled = true;
            return e;
        }
        e.curves.push_back(mover_curve(paths, k, e.from, e.to, modulus, hit_instants[k]));
    }
    place_labels(e.curves, e.from, e.to);
    return e;
}

std::optional<std::size_t> nearest_drawn_hit(const Ephemeris& ephemeris, double t, double y)
{
    std::optional<std::size_t> best;
    double best_distance = 0;
    const double span = ephemeris.to > ephemeris.from ? ephemeris.to - ephemeris.from : 1.0;
    for (std::size_t i = 0; i < ephemeris.hits.size(); ++i) {
        const EphemerisHit& h = ephemeris.hits[i];
        const double dx = (h.t - t) / span;
        const double dy = dial_distance(h.y, dial_position(y, ephemeris.modulus), ephemeris.modulus) / ephemeris.modulus;
        const double distance = dx * dx + dy * dy;
        if (!best || distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

std::string ephemeris_title(const ChartState& chart, double from, double to, double modulus)
{
    const auto person = [](const chart_record& r) { return r.first_name + " " + r.name; };
    return std::string(texts::kEphemerisCaption) + " " + person(chart.person1) +
           std::string(texts::kEphemerisPersonsBetween) + person(chart.person2) + ", " +
           date_text(minute_time(from)) + std::string(texts::kEphemerisRangeBetween) +
           date_text(minute_time(std::max(from, to - 1))) + ", " + modulus_text(modulus) +
           std::string(texts::kEphemerisDegree);
}

}  // namespace duoskop
