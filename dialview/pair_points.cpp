// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialview/pair_points.h"

#include <algorithm>
#include <cmath>

#include "dialview/dial_view.h"

namespace duoskop {

namespace {

constexpr std::uint8_t mc = 0;
constexpr std::uint8_t as = 3;

// Written order of two factors: across the persons person 1's first, else the lower body first.
bool written_before(PairFactor x, PairFactor y)
{
    if (x.person != 0 && y.person != 0 && x.person != y.person) return x.person < y.person;
    if (x.body != y.body) return x.body < y.body;
    return x.person < y.person;
}

void append_factor(std::string& out, PairFactor f)
{
    out += body_codes[f.body];
    if (f.person != 0) out += static_cast<char>('0' + f.person);
}

std::optional<PairFactor> parse_factor(std::string_view text)
{
    if (text.size() == 2 || text.size() == 3) {
        const std::optional<std::uint8_t> body = body_of_code(text.substr(0, 2));
        if (!body) return std::nullopt;
        if (text.size() == 2) {
            if (*body != aries_point) return std::nullopt;  // every other factor names its person
            return PairFactor{aries_point, 0};
        }
        if (text[2] != '1' && text[2] != '2') return std::nullopt;
        return pair_factor(*body, static_cast<std::uint8_t>(text[2] - '0'));
    }
    return std::nullopt;
}

double longitude_of(PairFactor f, const Positions& pos1, const Positions& pos2)
{
    if (f.body == aries_point) return 0;
    return (f.person == 2 ? pos2 : pos1)[f.body];
}

// A longitude brought into [0, 360).
double reduced(double longitude)
{
    double r = std::fmod(longitude, 360.0);
    if (r < 0) r += 360;
    return r >= 360 ? 0 : r;
}

}  // namespace

PairFactor pair_factor(std::uint8_t body, std::uint8_t person)
{
    if (body == aries_point) return {aries_point, 0};
    return {body, person};
}

PairPoint pair_point(PairFactor x, PairFactor y)
{
    if (x == y) return {x, x};
    return written_before(x, y) ? PairPoint{x, y} : PairPoint{y, x};
}

std::string point_name(const PairPoint& point)
{
    std::string name;
    append_factor(name, point.a);
    if (point.is_factor()) return name;
    name += '/';
    append_factor(name, point.b);
    return name;
}

std::optional<PairPoint> parse_point_name(std::string_view name)
{
    const std::size_t slash = name.find('/');
    const std::optional<PairFactor> x = parse_factor(name.substr(0, slash));
    if (!x) return std::nullopt;
    if (slash == std::string_view::npos) return pair_point(*x, *x);
    const std::optional<PairFactor> y = parse_factor(name.substr(slash + 1));
    if (!y) return std::nullopt;
    return pair_point(*x, *y);
}

double point_longitude(const PairPoint& point, const Positions& pos1, const Positions& pos2)
{
    const double a = longitude_of(point.a, pos1, pos2);
    if (point.is_factor()) return reduced(a);
    return reduced((a + longitude_of(point.b, pos1, pos2)) / 2);
}

bool touches_person(const PairPoint& point, int person)
{
    return point.a.person == person || point.b.person == person;
}

bool needs_unknown_time(const PairPoint& point, bool time_known1, bool time_known2)
{
    const auto unknown = [&](PairFactor f) {
        if (f.body != mc && f.body != as) return false;
        return f.person == 1 ? !time_known1 : !time_known2;
    };
    return unknown(point.a) || unknown(point.b);
}

std::vector<PairPoint> pair_points(const PointSets& sets, bool time_known1, bool time_known2)
{
    std::vector<PairPoint> points;
    const auto add = [&](PairFactor x, PairFactor y) {
        const PairPoint point = pair_point(x, y);
        if (needs_unknown_time(point, time_known1, time_known2)) return;
        if (std::find(points.begin(), points.end(), point) == points.end()) points.push_back(point);
    };
    constexpr std::uint8_t n = compared_bodies;
    if (sets.factors)
        for (std::uint8_t person = 1; person <= 2; ++person)
            for (std::uint8_t b = 0; b < n; ++b) add(pair_factor(b, person), pair_factor(b, person));
    if (sets.own)
        for (std::uint8_t person = 1; person <= 2; ++person)
            for (std::uint8_t a = 0; a < n; ++a)
                for (std::uint8_t b = a + 1; b < n; ++b) add(pair_factor(a, person), pair_factor(b, person));
    if (sets.cross)
        for (std::uint8_t a = 0; a < n; ++a)
            for (std::uint8_t b = 0; b < n; ++b) add(pair_factor(a, 1), pair_factor(b, 2));
    return points;
}

}  // namespace duoskop
