// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/timeline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <set>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "astro/calendar.h"
#include "astro/std_ho.h"
#include "dialview/dial_view.h"
#include "timeline/paths.h"
#include "timeline/sweep.h"

namespace duoskop {

namespace {

constexpr std::uint8_t mc = 0, so = 2, as = 3, mo = 4, kn = 5, ju = 9, pl = 13;

/// Days between two samples of a transiting body for the theory: the interpolation of degree 7
/// stays within 0.005" of the computed longitude (measured over 1990-2010); the Moon every half
/// day, the Sun every four days, Jupiter and Saturn every eight, the slow ones every sixteen.
constexpr double theory_steps[compared_bodies] = {
    0, 0, 4, 0, 0.5, 8,   // MC WI SO AS MO KN
    1, 2, 2,              // ME VE MA
    8, 8, 16, 16, 16,     // JU SA UR NE PL
    16, 16, 16, 16, 16, 16, 16, 16};  // CU HA ZE KR AP AD VU PO
static_assert(std::size(theory_steps) == compared_bodies);
/// The precise positions carry the nutation, whose term of 13.7 days needs samples every four
/// days at most (then within 0.05").
constexpr double precise_step_limit = 4;

/// Samples of the solar arc's Sun: one a day of the Sun's progress, a year of life.
constexpr double arc_sun_step = 1;
/// Samples taken beyond the ends, so that every step has its eight.
constexpr int pad_samples = 4;
/// Passes are looked for this far beyond the range, so that two that merge into one "s" at its
/// edge are both seen.
constexpr double margin_days = 1;

double step_of(std::uint8_t body, PositionSource source)
{
    const double step = theory_steps[body];
    const bool precise_body = body == so || body == mo || (body >= 6 && body <= pl);
    return source == PositionSource::precise && precise_body ? std::min(step, precise_step_limit) : step;
}

/// Unwraps `value` (degrees) to lie within 180 degrees of `previous`.
double unwrapped(double value, double previous)
{
    return value + 360.0 * std::round((previous - value) / 360.0);
}

/// The instants of the chart calendar's years first..last: the precise positions hold there.
struct Span {
    double first = 0, end = 0;
    bool holds(double t) const { return t >= first && t < end; }
};

Span precise_span()
{
    return {chart_julian_day0(precise_first_year, 1, 1), chart_julian_day0(precise_last_year + 1, 1, 1)};
}

/// Reports progress as the share of `total` units done, at most every 1%.
class Progress {
public:
    Progress(const std::function<void(double)>& report, double total) : report_(report), total_(total) {}
    void add(double units)
    {
        done_ += units;
        const double share = total_ > 0 ? std::min(1.0, done_ / total_) : 1.0;
        if (report_ && share - reported_ >= 0.01) {
            reported_ = share;
            report_(share);
        }
    }

private:
    const std::function<void(double)>& report_;
    double total_ = 0;
    double done_ = 0;
    double reported_ = 0;
};

/// One sample grid: the multiples of `step` (days) from `first` to `last` (sample numbers).
struct Grid {
    double step = 0;
    long long first = 0, last = -1;
    std::size_t size() const { return last >= first ? static_cast<std::size_t>(last - first + 1) : 0; }
};

/// The grid of `step` that covers [lo, hi] with the padding, kept within `span` when given.
Grid grid_for(double step, double lo, double hi, const std::optional<Span>& span)
{
    Grid g{step, static_cast<long long>(std::floor(lo / step)) - pad_samples,
           static_cast<long long>(std::ceil(hi / step)) + pad_samples};
    if (span) {
        g.first = std::max(g.first, static_cast<long long>(std::ceil(span->first / step)));
        g.last = std::min(g.last, static_cast<long long>(std::ceil(span->end / step)) - 1);
    }
    return g;
}

/// The transits' tracks: each body sampled on its own grid; the instants of the finest grid are
/// computed once each (one chart a sample), the coarser grids take every k-th of them.
std::vector<Track> transit_tracks(const std::vector<std::uint8_t>& bodies, PositionSource source, double lo,
                                  double hi, const std::stop_token& stop, Progress& progress)
{
    std::vector<Track> tracks(bodies.size());
    if (bodies.empty()) return tracks;
    double finest = step_of(bodies.front(), source);
    for (const std::uint8_t b : bodies) finest = std::min(finest, step_of(b, source));
    std::optional<Span> span;
    if (source == PositionSource::precise) span = precise_span();
    std::vector<Grid> grids;
    long long first = 0, last = -1;
    for (std::size_t k = 0; k < bodies.size(); ++k) {
        const double step = step_of(bodies[k], source);
        grids.push_back(grid_for(step, lo, hi, span));
        const long long ratio = std::llround(step / finest);
        tracks[k].dt = step;
        tracks[k].t0 = static_cast<double>(grids[k].first) * step;
        const long long a = grids[k].first * ratio, b = grids[k].last * ratio;
        if (k == 0 || a < first) first = a;
        if (k == 0 || b > last) last = b;
        tracks[k].u.reserve(grids[k].size());
    }
    // The transits are geocentric longitudes: the place of the chart does not enter.
    const GeoPlace place{};
    for (long long m = first; m <= last; ++m) {
        if ((m & 63) == 0 && stop.stop_requested()) return {};
        const double t = static_cast<double>(m) * finest;
        bool wanted = false;
        for (std::size_t k = 0; k < bodies.size() && !wanted; ++k) {
            const long long ratio = std::llround(grids[k].step / finest);
            wanted = m % ratio == 0 && m / ratio >= grids[k].first && m / ratio <= grids[k].last;
        }
        if (!wanted) continue;
        const Positions p = positions_at(instant_at(t), place, source);
        for (std::size_t k = 0; k < bodies.size(); ++k) {
            const long long ratio = std::llround(grids[k].step / finest);
            if (m % ratio != 0 || m / ratio < grids[k].first || m / ratio > grids[k].last) continue;
            std::vector<double>& u = tracks[k].u;
            const double v = p[bodies[k]];
            u.push_back(u.empty() ? v : unwrapped(v, u.back()));
        }
        progress.add(1);
    }
    return tracks;
}

/// The track of one person's solar arc between the instants lo and hi (within the person's life):
/// SA at the instants birth + tau * 365.2422 days for whole days tau of the Sun's progress.
Track arc_track(const BirthData& birth, ArcKind kind, PositionSource source, double lo, double hi,
                Progress& progress)
{
    const ChartInstant born = chart_instant(birth);
    const GeoPlace place = chart_place(birth);
    const double b = born.julian_day();
    std::optional<Span> span;
    if (source == PositionSource::precise && born.year >= precise_first_year && born.year <= precise_last_year)
        span = Span{precise_span().first - b, precise_span().end - b};  // in days of progress
    const Grid g = grid_for(arc_sun_step, (lo - b) / arc_year_days, (hi - b) / arc_year_days, span);
    Track track;
    track.dt = arc_sun_step * arc_year_days;
    track.t0 = b + static_cast<double>(g.first) * track.dt;
    track.u.reserve(g.size());
    if (kind == ArcKind::naibod) {
        for (long long m = g.first; m <= g.last; ++m) track.u.push_back(static_cast<double>(m) * arc_sun_step * naibod_rate);
        return track;
    }
    // SA = Sun(birth + tau days) - Sun(birth), the natal Sun as the same computation gives it.
    const double natal_sun = positions_at(born, place, source)[so];
    for (long long m = g.first; m <= g.last; ++m) {
        const double tau = static_cast<double>(m) * arc_sun_step;
        const double sun = positions_at(instant_at(b + tau), place, source)[so];
        const double expected = track.u.empty() ? tau * naibod_rate : track.u.back();
        track.u.push_back(unwrapped(sun - natal_sun, expected));
        progress.add(1);
    }
    return track;
}

void add_unique(std::vector<PairPoint>& points, const PairPoint& point)
{
    if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
}

/// The mover and target indices of the request, and the targets with their longitudes.
std::vector<Target> chosen_targets(const ChartState& chart, const TimelineRequest& request, bool known1, bool known2)
{
    const std::vector<PairPoint> ergebnis = ergebnis_points(chart, request.orbs);
    std::vector<PairPoint> points;
    if (request.targets.ergebnis) points = ergebnis;
    for (const PairPoint& p : pair_points(request.targets.sets, known1, known2)) add_unique(points, p);
    for (const PairPoint& p : request.targets.named)
        if (!needs_unknown_time(p, known1, known2)) add_unique(points, p);
    std::vector<Target> targets;
    targets.reserve(points.size());
    for (const PairPoint& p : points)
        targets.push_back({p, point_longitude(p, chart.pos1, chart.pos2),
                           std::find(ergebnis.begin(), ergebnis.end(), p) != ergebnis.end()});
    return targets;
}

std::vector<Mover> chosen_movers(const TimelineRequest& request, bool known1, bool known2)
{
    std::vector<Mover> movers;
    std::vector<std::uint8_t> directed;
    for (const std::uint8_t b : request.arc_bodies)
        if (b < compared_bodies && std::find(directed.begin(), directed.end(), b) == directed.end()) directed.push_back(b);
    std::sort(directed.begin(), directed.end());
    const auto arcs = [&](Mover::Kind kind, bool known) {
        for (const std::uint8_t b : directed)
            if (known || (b != mc && b != as)) movers.push_back({kind, b});
    };
    if (request.arc1) arcs(Mover::Kind::arc1, known1);
    if (request.arc2) arcs(Mover::Kind::arc2, known2);
    if (request.transits) {
        std::vector<std::uint8_t> bodies;
        for (const std::uint8_t b : request.transit_bodies)
            if (transit_body_allowed(b) && std::find(bodies.begin(), bodies.end(), b) == bodies.end()) bodies.push_back(b);
        std::sort(bodies.begin(), bodies.end());
        for (const std::uint8_t b : bodies) movers.push_back({Mover::Kind::transit, b});
    }
    return movers;
}

/// The Winkel of mover - target = step x 22.5 degrees: the smaller angle, for a midpoint to the
/// nearer of its two points.
std::uint8_t angle_of(std::uint8_t step, bool midpoint)
{
    if (midpoint) {
        const int m = step % 8;
        return static_cast<std::uint8_t>(std::min(m, 8 - m));
    }
    return static_cast<std::uint8_t>(std::min<int>(step, 16 - step));
}

/// The paths of `movers` between lo and hi: one solar arc per person, one transit per body.
/// Progress counts the charts computed (the bulk of the work with the precise positions).
MoverPaths build_paths(const ChartState& chart, const TimelineRequest& request, std::vector<Mover> movers,
                       double lo, double hi, Progress& progress)
{
    MoverPaths paths;
    paths.movers = std::move(movers);
    const BirthData births[2] = {werte_aktual(chart.person1), werte_aktual(chart.person2)};
    std::vector<std::uint8_t> bodies;
    for (const Mover& m : paths.movers)
        if (m.kind == Mover::Kind::transit) bodies.push_back(m.body);
    for (int person = 1; person <= 2; ++person) {
        const Mover::Kind kind = person == 1 ? Mover::Kind::arc1 : Mover::Kind::arc2;
        const Positions& pos = person == 1 ? chart.pos1 : chart.pos2;
        PathTrack w;
        for (std::size_t k = 0; k < paths.movers.size(); ++k)
            if (paths.movers[k].kind == kind)
                w.movers.push_back({static_cast<std::uint16_t>(k), pos[paths.movers[k].body]});
        if (w.movers.empty()) continue;
        // No directions before the birth.
        const double born = chart_instant(births[person - 1]).julian_day();
        w.lo = std::max(lo, born);
        w.hi = hi;
        if (!(w.lo <= w.hi)) continue;
        w.track = arc_track(births[person - 1], request.arc, request.natal_source, w.lo, w.hi, progress);
        if (request.stop.stop_requested()) break;
        paths.tracks.push_back(std::move(w));
    }
    if (!request.stop.stop_requested() && !bodies.empty()) {
        std::vector<Track> tracks = transit_tracks(bodies, request.transit_source, lo, hi, request.stop, progress);
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            PathTrack w;
            w.track = std::move(tracks[i]);
            for (std::size_t k = 0; k < paths.movers.size(); ++k)
                if (paths.movers[k].kind == Mover::Kind::transit && paths.movers[k].body == bodies[i])
                    w.movers.push_back({static_cast<std::uint16_t>(k), 0.0});
            w.lo = lo;
            w.hi = hi;
            paths.tracks.push_back(std::move(w));
        }
    }
    paths.cancelled = request.stop.stop_requested();
    return paths;
}

/// The charts build_paths computes for `movers` between lo and hi, roughly.
double charts_estimate(const std::vector<Mover>& movers, const TimelineRequest& request, double lo, double hi)
{
    double finest = 0;
    bool arc[2] = {false, false};
    for (const Mover& m : movers) {
        if (m.kind == Mover::Kind::transit) {
            const double step = step_of(m.body, request.transit_source);
            finest = finest == 0 ? step : std::min(finest, step);
        } else {
            arc[m.person() - 1] = true;
        }
    }
    return (finest > 0 ? (hi - lo) / finest : 0) + (arc[0] ? (hi - lo) / arc_year_days : 0) +
           (arc[1] ? (hi - lo) / arc_year_days : 0);
}

}  // namespace

std::string mover_name(const Mover& mover)
{
    std::string name = mover.kind == Mover::Kind::arc1 ? "SB1:" : mover.kind == Mover::Kind::arc2 ? "SB2:" : "T:";
    name += body_codes[mover.body];
    return name;
}

std::vector<std::uint8_t> default_transit_bodies()
{
    std::vector<std::uint8_t> bodies;
    for (std::uint8_t b = ju; b < compared_bodies; ++b) bodies.push_back(b);
    return bodies;
}

std::vector<std::uint8_t> default_arc_bodies()
{
    std::vector<std::uint8_t> bodies;
    for (std::uint8_t b = 0; b < compared_bodies; ++b) bodies.push_back(b);
    return bodies;
}

std::vector<std::uint8_t> ring_arc_bodies() { return {mc, so, as, mo}; }

std::vector<std::uint8_t> ring_transit_bodies()
{
    std::vector<std::uint8_t> bodies;
    for (std::uint8_t b = ju; b <= pl; ++b) bodies.push_back(b);
    return bodies;
}

bool transit_body_allowed(std::uint8_t body)
{
    return body == so || body == mo || (body >= kn && body < compared_bodies);
}

bool birth_time_known(const chart_record& record) { return record.time != "12:00:00"; }

std::vector<PairPoint> ergebnis_points(const ChartState& chart, const std::optional<Orbs>& orbs)
{
    const bool known1 = birth_time_known(chart.person1), known2 = birth_time_known(chart.person2);
    std::vector<PairPoint> points;
    const auto add = [&](PairPoint p) {
        if (!needs_unknown_time(p, known1, known2)) add_unique(points, p);
    };
    const auto f = [](std::uint8_t body, std::uint8_t person) { return pair_factor(body, person); };
    add(pair_point(f(mc, 1), f(mc, 2)));
    add(pair_point(f(so, 1), f(so, 2)));
    for (const std::uint8_t body : {mc, so, as, mo})
        for (std::uint8_t person = 1; person <= 2; ++person) add(pair_point(f(body, person), f(body, person)));
    if (!orbs) return points;
    for (const Comparison comparison : all_comparisons) {
        if (comparison == Comparison::halfsums && !(orbs->orb_halfsum > 0)) continue;
        const ResultText result = run_comparison(comparison, chart, *orbs);
        for (std::size_t i = 0; i < result.entries.size(); ++i) {
            const EntryCharts charts = i < result.entry_charts.size() ? result.entry_charts[i] : EntryCharts{};
            const std::optional<EntryPicture> picture = entry_picture(result.entries[i], charts, chart.pos1, chart.pos2);
            if (!picture) continue;
            const auto& x = picture->factors;
            add(pair_point(f(x[0].body, x[0].person), f(x[1].body, x[1].person)));
            add(pair_point(f(x[2].body, x[2].person), f(x[3].body, x[3].person)));
        }
    }
    return points;
}

std::string angle_text_of(std::uint8_t angle)
{
    // 22.5 degrees a step: whole degrees, or a half with a decimal comma.
    const int halves = angle * 45;
    std::string text = std::to_string(halves / 2);
    if (halves % 2 != 0) text += ",5";
    return text;
}

namespace {

/// The hits of the paths' movers on the request's targets: each track swept through the targets
/// sorted by dial position, passes merged at stations, the hits within the range, the clusters.
/// `sweep_units` of `progress` go to the sweeps.
Timeline sweep_paths(const ChartState& chart, const TimelineRequest& request, std::vector<Target> targets,
                     const MoverPaths& paths, Progress& progress, double sweep_units)
{
    Timeline timeline;
    timeline.time_known1 = birth_time_known(chart.person1);
    timeline.time_known2 = birth_time_known(chart.person2);
    timeline.targets = std::move(targets);
    timeline.movers = paths.movers;
    if (paths.cancelled) {
        timeline.cancelled = true;
        return timeline;
    }
    if (timeline.targets.empty()) return timeline;
    const std::vector<PathTrack>& work = paths.tracks;

    // The sweeps: each track through the targets sorted by dial position.
    const DialTargets sorted(timeline.targets);
    std::vector<Pass> passes;
    std::vector<std::vector<double>> stations(timeline.movers.size());
    for (const PathTrack& w : work) {
        if (request.stop.stop_requested()) {
            timeline.cancelled = true;
            return timeline;
        }
        std::vector<double> track_stations;
        sweep_track(w.track, w.movers, sorted, w.lo, w.hi, passes, track_stations);
        for (const TrackMover& m : w.movers) stations[m.mover] = track_stations;
        progress.add(sweep_units / static_cast<double>(work.size()));
    }
    merge_station_passes(passes, stations);

    timeline.hits.reserve(passes.size());
    for (const Pass& p : passes) {
        if (p.instant < request.from || p.instant > request.to) continue;
        const Target& target = timeline.targets[p.target];
        timeline.hits.push_back({p.instant, p.mover, p.target, angle_of(p.step, !target.point.is_factor()),
                                 p.direction, target.ergebnis});
    }
    std::vector<Pass>().swap(passes);
    std::sort(timeline.hits.begin(), timeline.hits.end(), [](const Hit& a, const Hit& b) {
        if (a.instant != b.instant) return a.instant < b.instant;
        if (a.mover != b.mover) return a.mover < b.mover;
        return a.target < b.target;
    });
    timeline.clusters = find_clusters(timeline.hits, timeline.movers, timeline.targets, request.cluster_days,
                                      request.cluster_targets);
    if (request.progress) request.progress(1.0);
    return timeline;
}

}  // namespace

Timeline compute_timeline(const ChartState& chart, const TimelineRequest& request)
{
    const bool known1 = birth_time_known(chart.person1), known2 = birth_time_known(chart.person2);
    std::vector<Mover> movers = chosen_movers(request, known1, known2);
    std::vector<Target> targets = chosen_targets(chart, request, known1, known2);
    if (!(request.from <= request.to) || movers.empty() || targets.empty()) {
        Timeline timeline;
        timeline.time_known1 = known1;
        timeline.time_known2 = known2;
        timeline.targets = std::move(targets);
        timeline.movers = std::move(movers);
        return timeline;
    }

    const double lo = request.from - margin_days, hi = request.to + margin_days;
    // Progress counts the charts computed and then the sweeps.
    const double charts = charts_estimate(movers, request, lo, hi);
    const double sweep_units = std::max(1.0, charts / 4);
    Progress progress(request.progress, charts + sweep_units);
    const MoverPaths paths = build_paths(chart, request, std::move(movers), lo, hi, progress);
    return sweep_paths(chart, request, std::move(targets), paths, progress, sweep_units);
}

Timeline compute_timeline(const ChartState& chart, const TimelineRequest& request, const MoverPaths& paths)
{
    TimelineRequest quiet = request;
    quiet.progress = nullptr;  // the paths took the run's time; the sweeps are quick
    Progress progress(quiet.progress, 1);
    Timeline timeline = sweep_paths(chart, quiet,
                                    chosen_targets(chart, request, birth_time_known(chart.person1),
                                                   birth_time_known(chart.person2)),
                                    paths, progress, 1);
    if (request.progress && !timeline.cancelled) request.progress(1.0);
    return timeline;
}

std::vector<Cluster> find_clusters(const std::vector<Hit>& hits, const std::vector<Mover>& movers,
                                   const std::vector<Target>& targets, double days, std::size_t min_targets)
{
    std::vector<Cluster> clusters;
    Cluster run;
    std::set<std::uint16_t> distinct;
    bool arc1 = false, arc2 = false;
    const auto close_run = [&] {
        if (!run.hits.empty() && distinct.size() >= min_targets) {
            run.targets = distinct.size();
            run.beide = arc1 && arc2;
            clusters.push_back(std::move(run));
        }
        run = Cluster{};
        distinct.clear();
        arc1 = arc2 = false;
    };
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const Hit& h = hits[i];
        if (!h.ergebnis) continue;
        if (!run.hits.empty() && h.instant - run.last > days) close_run();
        if (run.hits.empty()) run.first = h.instant;
        run.last = h.instant;
        run.hits.push_back(static_cast<std::uint32_t>(i));
        distinct.insert(h.target);
        const Mover& m = movers[h.mover];
        const PairPoint& point = targets[h.target].point;
        arc1 = arc1 || m.person() == 1;
        arc2 = arc2 || m.person() == 2;
        run.touches1 = run.touches1 || m.person() == 1 || touches_person(point, 1);
        run.touches2 = run.touches2 || m.person() == 2 || touches_person(point, 2);
    }
    close_run();
    return clusters;
}

MoverPaths mover_paths(const ChartState& chart, const TimelineRequest& request)
{
    std::vector<Mover> movers =
        chosen_movers(request, birth_time_known(chart.person1), birth_time_known(chart.person2));
    if (!(request.from <= request.to)) {
        MoverPaths paths;
        paths.movers = std::move(movers);
        return paths;
    }
    const double lo = request.from - margin_days, hi = request.to + margin_days;
    Progress progress(request.progress, charts_estimate(movers, request, lo, hi));
    MoverPaths paths = build_paths(chart, request, std::move(movers), lo, hi, progress);
    if (request.progress && !paths.cancelled) request.progress(1.0);
    return paths;
}

double MoverPaths::unwrapped_longitude(std::size_t index, double t) const
{
    for (const PathTrack& w : tracks) {
        if (!(t >= w.lo && t <= w.hi) || w.track.u.size() < 2) continue;
        const double last = w.track.instant(static_cast<double>(w.track.u.size() - 1));
        if (!(t >= w.track.t0 && t <= last)) continue;
        for (const TrackMover& m : w.movers)
            if (m.mover == index) return w.track.value_at(t) + m.offset;
    }
    return std::nan("");
}

double MoverPaths::longitude(std::size_t index, double t) const
{
    const double u = unwrapped_longitude(index, t);
    if (!std::isfinite(u)) return u;
    const double l = std::fmod(u, 360.0);
    return l < 0 ? l + 360.0 : (l >= 360.0 ? 0.0 : l);
}

MoversAt movers_at(const ChartState& chart, const TimelineRequest& request, double instant)
{
    TimelineRequest at = request;
    at.from = at.to = instant;
    at.progress = nullptr;
    const MoverPaths paths = mover_paths(chart, at);
    MoversAt result;
    result.movers = paths.movers;
    for (std::size_t k = 0; k < paths.movers.size(); ++k) result.longitudes.push_back(paths.longitude(k, instant));
    return result;
}

}  // namespace duoskop
