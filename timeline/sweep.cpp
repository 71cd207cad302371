// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/sweep.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "dialview/dial_view.h"

namespace duoskop {

namespace {

constexpr int points = 8;  // samples of one interpolation: degree 7
/// The root of a crossing is found to this many days (well under a second).
constexpr double root_tolerance_days = 1e-7;

using Coefficients = std::array<double, points>;
using Basis = std::array<Coefficients, points>;

/// The Lagrange basis of the nodes k - o (k = 0..7) as polynomials in s: row k holds the
/// coefficients of s^0..s^7 of the polynomial that is 1 at node k and 0 at the others. The
/// interval from node o to node o + 1 is s in [0, 1].
Basis lagrange_basis(int o)
{
    Basis basis{};
    for (int k = 0; k < points; ++k) {
        Coefficients poly{};
        poly[0] = 1;
        int degree = 0;
        double denominator = 1;
        for (int m = 0; m < points; ++m) {
            if (m == k) continue;
            const double node = m - o;
            // poly *= (s - node)
            for (int d = degree + 1; d > 0; --d) poly[static_cast<std::size_t>(d)] =
                poly[static_cast<std::size_t>(d - 1)] - node * poly[static_cast<std::size_t>(d)];
            poly[0] = -node * poly[0];
            ++degree;
            denominator *= static_cast<double>(k - m);
        }
        for (double& c : poly) c /= denominator;
        basis[static_cast<std::size_t>(k)] = poly;
    }
    return basis;
}

/// The bases for the interval at every place of the eight samples: o = 3 in the middle of the
/// samples, the others where the samples end.
const std::array<Basis, points - 1>& bases()
{
    static const std::array<Basis, points - 1> all = [] {
        std::array<Basis, points - 1> b{};
        for (int o = 0; o < points - 1; ++o) b[static_cast<std::size_t>(o)] = lagrange_basis(o);
        return b;
    }();
    return all;
}

/// The interpolating polynomial of one sample interval: longitude = base + sum c[k] s^k,
/// s in [0, 1] from sample i to sample i + 1.
struct Piece {
    double base = 0;
    Coefficients c{};

    double value(double s) const
    {
        double v = c[points - 1];
        for (int k = points - 2; k >= 0; --k) v = v * s + c[static_cast<std::size_t>(k)];
        return base + v;
    }
    double slope(double s) const
    {
        double v = (points - 1) * c[points - 1];
        for (int k = points - 2; k >= 1; --k) v = v * s + k * c[static_cast<std::size_t>(k)];
        return v;
    }
    double curvature(double s) const
    {
        double v = (points - 1) * (points - 2) * c[points - 1];
        for (int k = points - 2; k >= 2; --k) v = v * s + k * (k - 1) * c[static_cast<std::size_t>(k)];
        return v;
    }
};

/// The polynomial of the interval from sample i to i + 1 (at least eight samples).
Piece piece_of(const std::vector<double>& u, std::size_t i)
{
    const std::size_t n = u.size();
    const std::size_t first = std::min(i >= 3 ? i - 3 : 0, n - points);
    const std::size_t o = i - first;
    const Basis& basis = bases()[o];
    Piece p;
    p.base = u[i];
    for (std::size_t k = 0; k < points; ++k) {
        const double y = u[first + k] - p.base;
        for (std::size_t d = 0; d < points; ++d) p.c[d] += y * basis[k][d];
    }
    return p;
}

/// The s in [a, b] where f(s) = target, for a function monotonic on [a, b] with f(a), f(b) on
/// either side of (or at) target: Newton steps kept inside the bracket, else bisection.
template <typename F, typename D>
double bracketed_root(F f, D df, double a, double b, double fa, double fb, double target, double tolerance)
{
    double lo = a, hi = b;
    const bool rising_lo = fa < target;  // f below target at lo
    double s = fb != fa ? a + (target - fa) / (fb - fa) * (b - a) : 0.5 * (a + b);
    if (!(s >= a && s <= b)) s = 0.5 * (a + b);
    for (int iteration = 0; iteration < 100; ++iteration) {
        const double value = f(s) - target;
        if (value == 0) return s;
        if ((value < 0) == rising_lo) lo = s;
        else hi = s;
        const double slope = df(s);
        double next = slope != 0 ? s - value / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - s) < tolerance || hi - lo < tolerance) return next;
        s = next;
    }
    return s;
}

/// Dial turns: value = 22.5 n + p with p in [0, 22.5).
double turn_of(double value) { return std::floor(value / dial_span); }

int step_of(double n, int turn)
{
    const long long k = (static_cast<long long>(n) - turn) % 16;
    return static_cast<int>(k < 0 ? k + 16 : k);
}

}  // namespace

double Track::value_at(double t) const
{
    const double x = (t - t0) / dt;
    const double last = static_cast<double>(u.size()) - 1;
    const double clamped = std::clamp(x, 0.0, last);
    const auto i = static_cast<std::size_t>(std::min(std::floor(clamped), last - 1));
    return piece_of(u, i).value(clamped - static_cast<double>(i));
}

DialTargets::DialTargets(const std::vector<Target>& targets)
{
    std::vector<std::size_t> order(targets.size());
    std::vector<double> position(targets.size());
    std::vector<int> turns(targets.size());
    for (std::size_t j = 0; j < targets.size(); ++j) {
        order[j] = j;
        turns[j] = std::clamp(static_cast<int>(turn_of(targets[j].longitude)), 0, 15);
        position[j] = targets[j].longitude - dial_span * turns[j];
        if (position[j] < 0) position[j] = 0;
        if (position[j] >= dial_span) position[j] = std::nextafter(dial_span, 0.0);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return position[a] < position[b]; });
    for (const std::size_t j : order) {
        dial.push_back(position[j]);
        index.push_back(static_cast<std::uint16_t>(j));
        turn.push_back(turns[j]);
    }
}

void sweep_track(const Track& track, std::span<const TrackMover> movers, const DialTargets& targets, double lo,
                 double hi, std::vector<Pass>& passes, std::vector<double>& stations)
{
    const std::size_t n = track.u.size();
    if (n < points || targets.dial.empty() || !(lo <= hi)) return;
    const double x_lo = std::floor((lo - track.t0) / track.dt);
    const double x_hi = std::ceil((hi - track.t0) / track.dt);
    const auto last = static_cast<double>(n - 2);
    if (x_hi < 0 || x_lo > last) return;
    const auto first_interval = static_cast<std::size_t>(std::max(0.0, x_lo));
    const auto last_interval = static_cast<std::size_t>(std::min(last, x_hi));
    const double tolerance = root_tolerance_days / track.dt;
    const std::vector<double>& dial = targets.dial;

    // Every target value v = 22.5 n + p within [from, to] (open or closed ends as told), each
    // handed to `found` with its turn n and place in `dial`.
    const auto each_target_between = [&](double from, double to, bool open_from, bool open_to, auto found) {
        for (double turn = turn_of(from); turn <= turn_of(to); ++turn) {
            const double base = turn * dial_span;
            const double a = from - base, b = to - base;
            auto begin = open_from ? std::upper_bound(dial.begin(), dial.end(), a)
                                   : std::lower_bound(dial.begin(), dial.end(), a);
            auto end = open_to ? std::lower_bound(begin, dial.end(), b) : std::upper_bound(begin, dial.end(), b);
            for (auto it = begin; it != end; ++it) found(turn, static_cast<std::size_t>(it - dial.begin()));
        }
    };

    double end_slope = 0;  // the slope at the end of the step before
    // Near a turn the slope is tiny and its sign noisy: one turn may show in the step before a
    // sample, at the sample and just after it. Turns closer than this (in steps) are one.
    constexpr double same_turn = 1e-4;
    double last_turn = -std::numeric_limits<double>::infinity();  // sample position of the last turn
    for (std::size_t i = first_interval; i <= last_interval; ++i) {
        const Piece piece = piece_of(track.u, i);
        const double t_i = track.instant(static_cast<double>(i));
        const auto value = [&piece](double s) { return piece.value(s); };
        const auto slope = [&piece](double s) { return piece.slope(s); };
        const auto curvature = [&piece](double s) { return piece.curvature(s); };

        // Stations: where the slope changes its sign, looked for at five places of the step (no
        // mover turns twice within one step of its samples); one that falls between two steps
        // (the slope of the last step ended with the other sign) stands at the sample itself.
        std::array<double, 7> bounds{};
        std::size_t count = 0;
        bounds[count++] = 0;
        constexpr std::array<double, 5> probes = {0, 0.25, 0.5, 0.75, 1};
        double previous = slope(0);
        const auto x_i = static_cast<double>(i);
        const bool turned_at_sample =
            i > first_interval && (previous < 0) != (end_slope < 0) && x_i - last_turn > same_turn;
        if (turned_at_sample) last_turn = x_i;
        for (std::size_t k = 1; k < probes.size(); ++k) {
            const double now = slope(probes[k]);
            if ((previous < 0) != (now < 0)) {
                const double s = bracketed_root(slope, curvature, probes[k - 1], probes[k], previous, now, 0.0,
                                                tolerance);
                if (s >= 0 && s < 1 && x_i + s - last_turn > same_turn) {
                    bounds[count++] = s;
                    last_turn = x_i + s;
                }
            }
            previous = now;
        }
        end_slope = previous;
        bounds[count++] = 1;

        // Passes on each monotonic part: (ua, ub] going direct, [ub, ua) going back.
        for (std::size_t k = 0; k + 1 < count; ++k) {
            const double a = bounds[k], b = bounds[k + 1];
            const double ua = value(a), ub = value(b);
            if (ua == ub) continue;
            const bool direct = ub > ua;
            for (const TrackMover& m : movers) {
                const double from = std::min(ua, ub) + m.offset, to = std::max(ua, ub) + m.offset;
                each_target_between(from, to, direct, !direct, [&](double turn, std::size_t place) {
                    const double v = turn * dial_span + dial[place] - m.offset;
                    const double s = bracketed_root(value, slope, a, b, ua, ub, v, tolerance);
                    const double t = t_i + s * track.dt;
                    if (t < lo || t > hi) return;
                    passes.push_back({t, m.mover, targets.index[place],
                                      static_cast<std::uint8_t>(step_of(turn, targets.turn[place])),
                                      direct ? Direction::direct : Direction::retrograde});
                });
            }
        }

        // A station that comes within 1" of a target beyond it, without crossing, touches it.
        for (std::size_t k = turned_at_sample ? 0 : 1; k + 1 < count; ++k) {
            const double s = bounds[k];
            const double t = t_i + s * track.dt;
            if (t < lo || t > hi) continue;
            stations.push_back(t);
            const double us = value(s);
            // Which way it turns, read in the middle of the longer part beside the turn: right
            // at the turn the values differ by less than their rounding.
            const double before = k > 0 ? s - bounds[k - 1] : 0, after = bounds[k + 1] - s;
            const double beside = before > after ? s - 0.5 * before : s + 0.5 * after;
            const bool maximum = value(beside) < us;
            for (const TrackMover& m : movers) {
                const double at = us + m.offset;
                const double from = maximum ? at : at - station_touch_degrees;
                const double to = maximum ? at + station_touch_degrees : at;
                each_target_between(from, to, maximum, !maximum, [&](double turn, std::size_t place) {
                    passes.push_back({t, m.mover, targets.index[place],
                                      static_cast<std::uint8_t>(step_of(turn, targets.turn[place])),
                                      Direction::station});
                });
            }
        }
    }
}

void merge_station_passes(std::vector<Pass>& passes, const std::vector<std::vector<double>>& stations)
{
    std::sort(passes.begin(), passes.end(), [](const Pass& a, const Pass& b) {
        if (a.mover != b.mover) return a.mover < b.mover;
        if (a.target != b.target) return a.target < b.target;
        return a.instant < b.instant;
    });
    std::vector<Pass> merged;
    merged.reserve(passes.size());
    for (std::size_t i = 0; i < passes.size();) {
        std::size_t j = i + 1;
        while (j < passes.size() && passes[j].mover == passes[i].mover && passes[j].target == passes[i].target &&
               passes[j].instant - passes[j - 1].instant < station_merge_days)
            ++j;
        if (j - i == 1) {
            merged.push_back(passes[i]);
        } else {
            Pass s = passes[i];
            const double first = passes[i].instant, last = passes[j - 1].instant;
            s.instant = 0.5 * (first + last);
            if (passes[i].mover < stations.size()) {
                const std::vector<double>& own = stations[passes[i].mover];
                const auto it = std::lower_bound(own.begin(), own.end(), first);
                if (it != own.end() && *it <= last) s.instant = *it;
            }
            s.direction = Direction::station;
            merged.push_back(s);
        }
        i = j;
    }
    passes = std::move(merged);
}

}  // namespace duoskop
