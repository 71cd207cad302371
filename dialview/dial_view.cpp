// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialview/dial_view.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "astro/un_math.h"

namespace duoskop {

double normalize_dial(double position, double modulus)
{
    if (!std::isfinite(position)) return 0;
    double r = std::fmod(position, modulus);
    if (r < 0) r += modulus;
    // A tiny negative remainder lifted by one turn rounds up to the turn itself: that is 0.
    return r >= modulus ? 0 : r;
}

double dial_angle(double position, double modulus)
{
    return normalize_dial(position, modulus) / modulus * 2 * std::numbers::pi;
}

DialPoint dial_point(double position, double cx, double cy, double radius, double modulus)
{
    // Counter-clockwise from the top: a quarter turn later the point stands on the left.
    const double a = dial_angle(position, modulus);
    return {cx - radius * std::sin(a), cy - radius * std::cos(a)};
}

double dial_position_at(double dx, double dy, double modulus)
{
    if (dx == 0 && dy == 0) return 0;
    double a = std::atan2(-dx, -dy);
    if (a < 0) a += 2 * std::numbers::pi;
    return normalize_dial(a / (2 * std::numbers::pi) * modulus, modulus);
}

double dial_difference(double from, double to, double modulus)
{
    double d = normalize_dial(to - from, modulus);
    if (d >= modulus / 2) d -= modulus;
    return d;
}

double nearer_midpoint(double a, double b)
{
    double m = (a + b) / 2;
    if (std::fabs(a - b) > 180) m += 180;
    return normalize_dial(m, 360);
}

namespace {

// Shown positions for labels q (increasing, within one turn) on a line: q_k - k*gap fitted by a
// non-decreasing sequence (pooling neighbours that would overlap, each pool centred on its
// labels), then k*gap added back. Neighbours end at least `gap` apart.
std::vector<double> spread_on_line(const std::vector<double>& q, double gap)
{
    struct Pool {
        double sum;
        std::size_t count;
        double mean() const { return sum / static_cast<double>(count); }
    };
    std::vector<Pool> pools;
    for (std::size_t k = 0; k < q.size(); ++k) {
        pools.push_back({q[k] - static_cast<double>(k) * gap, 1});
        while (pools.size() > 1 && pools[pools.size() - 2].mean() > pools.back().mean()) {
            const Pool last = pools.back();
            pools.pop_back();
            pools.back().sum += last.sum;
            pools.back().count += last.count;
        }
    }
    std::vector<double> shown;
    shown.reserve(q.size());
    for (const Pool& pool : pools) {
        for (std::size_t i = 0; i < pool.count; ++i)
            shown.push_back(pool.mean() + static_cast<double>(shown.size()) * gap);
    }
    return shown;
}

}  // namespace

std::vector<double> spread_labels(const std::vector<double>& positions, double min_gap, double modulus)
{
    const std::size_t n = positions.size();
    std::vector<double> result(n);
    for (std::size_t i = 0; i < n; ++i) result[i] = normalize_dial(positions[i], modulus);
    if (n < 2 || !(min_gap > 0)) return result;
    const double gap = std::min(min_gap, modulus / static_cast<double>(n));

    // Around the circle in order of the true positions (ties in input order).
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return result[x] < result[y]; });
    const auto true_at = [&](std::size_t k) { return result[order[k % n]]; };

    // Cut the circle open at its widest gap, so that no crowd is split by the cut.
    std::size_t start = 0;
    double widest = -1;
    for (std::size_t k = 0; k < n; ++k) {
        const double g = k + 1 < n ? true_at(k + 1) - true_at(k) : true_at(0) + modulus - true_at(k);
        if (g > widest) {
            widest = g;
            start = (k + 1) % n;
        }
    }

    std::vector<double> shown;
    for (std::size_t attempt = 0; attempt <= n; ++attempt) {
        std::vector<double> q(n);
        for (std::size_t k = 0; k < n; ++k)
            q[k] = true_at(start + k) + (start + k >= n ? modulus : 0);
        shown = spread_on_line(q, gap);
        // The crowds at both ends of the line can meet across the cut: then open the circle at
        // the start of the last crowd instead, so that the two become neighbours on the line.
        const double wrap = shown.front() + modulus - shown.back();
        if (wrap >= gap * (1 - 1e-9)) break;
        if (attempt == n) {
            // No cut works out: stand every label `gap` after the first, around their mean.
            const double mean = std::accumulate(q.begin(), q.end(), 0.0) / static_cast<double>(n);
            for (std::size_t k = 0; k < n; ++k)
                shown[k] = mean + (static_cast<double>(k) - static_cast<double>(n - 1) / 2) * gap;
            break;
        }
        std::size_t last_crowd = n - 1;
        while (last_crowd > 0 &&
               shown[last_crowd] - shown[last_crowd - 1] <= gap * (1 + 1e-9))
            --last_crowd;
        if (last_crowd == 0) last_crowd = n - 1;  // one crowd: move the cut by one label
        start = (start + last_crowd) % n;
    }
    for (std::size_t k = 0; k < n; ++k) result[order[(start + k) % n]] = normalize_dial(shown[k], modulus);
    return result;
}

std::string hit_name(const PointerHit& hit)
{
    std::string name(body_codes[hit.a]);
    if (hit.a != hit.b) name += "/" + std::string(body_codes[hit.b]);
    return name;
}

std::vector<PointerHit> hits_on_pointer(const Positions& pos1, const Positions* pos2, double pointer,
                                        double orb)
{
    pointer = normalize_dial(pointer);
    std::vector<PointerHit> hits;
    for (std::uint8_t person = 1; person <= 2; ++person) {
        const Positions* pos = person == 1 ? &pos1 : pos2;
        if (pos == nullptr) continue;
        for (std::uint8_t a = 0; a < compared_bodies; ++a) {
            for (std::uint8_t b = a; b < compared_bodies; ++b) {
                // The same dial position and orb test as the comparisons: strict, seam included.
                const double m = mod225(((*pos)[a] + (*pos)[b]) / 2);
                const double d = std::fabs(m - pointer);
                if (!(d < orb || d > dial_span - orb)) continue;
                hits.push_back({person, a, b, m, std::min(d, dial_span - d)});
            }
        }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const PointerHit& x, const PointerHit& y) {
        return x.distance < y.distance;
    });
    return hits;
}

std::optional<std::uint8_t> body_of_code(std::string_view code)
{
    if (code.size() != 2) return std::nullopt;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::uint8_t i = 0; i < compared_bodies; ++i) {
        const std::string_view known = body_codes[i];
        if (upper(known[0]) == upper(code[0]) && upper(known[1]) == upper(code[1])) return i;
    }
    return std::nullopt;
}

std::optional<EntryPicture> entry_picture(std::string_view entry, const EntryCharts& charts,
                                          const Positions& pos1, const Positions& pos2)
{
    if (entry.size() < 11 || entry[2] != '/' || entry[5] != '=' || entry[8] != '/') return std::nullopt;
    const std::array<std::uint8_t, 4> persons = {charts.a, charts.b, charts.c, charts.d};
    EntryPicture picture;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto body = body_of_code(entry.substr(i * 3, 2));
        if (!body) return std::nullopt;
        const std::uint8_t person = persons[i] == 2 ? 2 : 1;
        const Positions& pos = person == 1 ? pos1 : pos2;
        picture.factors[i] = {*body, person, mod225(pos[*body])};
    }
    const auto longitude = [&](const EntryFactor& f) { return (f.person == 1 ? pos1 : pos2)[f.body]; };
    const auto& f = picture.factors;
    picture.axis = mod225((longitude(f[0]) + longitude(f[1])) / 2);
    picture.second = mod225((longitude(f[2]) + longitude(f[3])) / 2);
    picture.axis_longitude = nearer_midpoint(longitude(f[0]), longitude(f[1]));
    return picture;
}

std::optional<std::vector<std::uint8_t>> parse_code_list(std::string_view list)
{
    std::vector<std::uint8_t> bodies;
    while (true) {
        const std::size_t comma = list.find(',');
        std::string_view code = list.substr(0, comma);
        while (!code.empty() && code.front() == ' ') code.remove_prefix(1);
        while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
        const auto body = body_of_code(code);
        if (!body) return std::nullopt;
        bodies.push_back(*body);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return bodies;
}

}  // namespace duoskop
