// SPDX-License-Identifier: GPL-3.0-or-later
#include "birth/local_time.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include <date/tz.h>

#include "astro/calendar.h"

namespace duoskop {

namespace {

using Seconds = std::chrono::seconds;

// The system's zone files hold the transitions up to 2037; later dates would silently get
// standard time all year, so zone rules are used only up to that year.
constexpr int last_zone_rule_year = 2037;

// Julian day number of 1 January 1970, the first day of the clock of the time-zone library.
constexpr std::int64_t unix_epoch_day_number = 2440588;

Seconds time_of_day(const CivilTime& t) { return Seconds{t.hour * 3600L + t.minute * 60L + t.second}; }

/// Days since 1 January 1970 of a date of the chart calendar (Julian before 1582).
date::days days_since_epoch(const CivilTime& t)
{
    return date::days{chart_day_number(t.year, t.month, t.day) - unix_epoch_day_number};
}

date::local_seconds local_seconds(const CivilTime& t) { return date::local_days{days_since_epoch(t)} + time_of_day(t); }

/// The date of the chart calendar and clock time of a count of seconds since 1970-01-01 00:00:00;
/// with `typed`, a day of 22.-31.12.1581 keeps the 1582 name `typed` gives it (astro/calendar.h).
template <typename Clock>
CivilTime civil(std::chrono::time_point<Clock, Seconds> when, const CivilTime* typed = nullptr)
{
    const auto day = date::floor<date::days>(when);
    const std::int64_t number = day.time_since_epoch().count() + unix_epoch_day_number;
    const ChartDate d = typed ? chart_date_of(number, ChartDate{typed->year, typed->month, typed->day})
                              : chart_date_of(number);
    const long s = (when - day).count();
    return {static_cast<int>(d.year), static_cast<int>(d.month), static_cast<int>(d.day), static_cast<int>(s / 3600),
            static_cast<int>(s / 60 % 60), static_cast<int>(s % 60)};
}

/// Universal date and time of the local time `local` (at `when`) read with `offset`, named as
/// `local` names its day.
CivilTime universal(const CivilTime& local, date::local_seconds when, Seconds offset)
{
    return civil(date::sys_seconds{when.time_since_epoch() - offset}, &local);
}

std::string two(int v)
{
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

std::string date_text(const CivilTime& t)
{
    char b[48];
    std::snprintf(b, sizeof b, "%02d.%02d.%04d", t.day, t.month, t.year);
    return b;
}

std::string clock_text(const CivilTime& t) { return two(t.hour) + ":" + two(t.minute) + ":" + two(t.second); }

/// One stretch of a zone's history as it held at the birth place: from `begin` to `end` (universal
/// time) its clocks showed universal time + `offset` seconds. Where the zone's rule is local mean
/// time ("LMT"), the offset is that of the birth place's longitude, not of the zone's city.
struct Period {
    date::sys_seconds begin, end;
    int offset = 0;
    std::string abbreviation;
};

/// "CEST (UTC+02:00)": a zone time as the messages name it.
std::string zone_time_text(const Period& p) { return p.abbreviation + " (" + offset_text(p.offset) + ")"; }

/// Local mean time at `longitude` (degrees, east positive): 240 seconds of time per degree.
int mean_time_offset(double longitude) { return static_cast<int>(std::lround(longitude * 240.0)); }

/// The stretches of `zone` around the local time `when`, in order: offsets stay within a day of
/// universal time, so those from two days before to two days after hold every reading of it.
std::vector<Period> periods_around(const date::time_zone& zone, date::local_seconds when, double longitude)
{
    const date::sys_seconds from{when.time_since_epoch() - date::days{2}};
    const date::sys_seconds to{when.time_since_epoch() + date::days{2}};
    std::vector<Period> periods;
    for (date::sys_info info = zone.get_info(from);; info = zone.get_info(info.end)) {
        const bool mean_time = info.abbrev == "LMT" && std::fabs(longitude) <= 180;
        periods.push_back({info.begin, info.end,
                           mean_time ? mean_time_offset(longitude) : static_cast<int>(info.offset.count()), info.abbrev});
        if (info.end >= to) break;
    }
    return periods;
}

/// A whole number of at most `max_digits` digits and nothing else.
std::optional<int> digits(std::string_view text, std::size_t max_digits)
{
    if (text.empty() || text.size() > max_digits || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool equal_folded(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

}  // namespace

bool valid_civil_time(const CivilTime& t)
{
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
           chart_date_valid(t.year, t.month, t.day) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

std::string civil_time_text(const CivilTime& t) { return date_text(t) + " " + clock_text(t); }

std::string offset_text(int offset_seconds)
{
    const int a = std::abs(offset_seconds);
    std::string text = std::string("UTC") + (offset_seconds < 0 ? "-" : "+") + two(a / 3600) + ":" + two(a / 60 % 60);
    if (a % 60 != 0) text += ":" + two(a % 60);
    return text;
}

std::optional<ZoneRule> parse_zone(std::string_view text, std::string& error)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (equal_folded(text, "LMT")) return ZoneRule{ZoneRule::Kind::lmt, "LMT", 0};

    for (const std::string_view prefix : {"UTC", "GMT", "UT"}) {
        if (text.size() < prefix.size() || !equal_folded(text.substr(0, prefix.size()), prefix)) continue;
        std::string_view rest = text.substr(prefix.size());
        if (rest.empty()) return ZoneRule{ZoneRule::Kind::fixed, offset_text(0), 0};
        if (rest[0] != '+' && rest[0] != '-') break;
        const int sign = rest[0] == '-' ? -1 : 1;
        rest.remove_prefix(1);
        std::optional<int> hours, minutes = 0;
        if (const std::size_t colon = rest.find(':'); colon != std::string_view::npos) {
            hours = digits(rest.substr(0, colon), 2);
            minutes = rest.size() - colon == 3 ? digits(rest.substr(colon + 1), 2) : std::nullopt;
        } else if (rest.size() == 4) {
            hours = digits(rest.substr(0, 2), 2);
            minutes = digits(rest.substr(2), 2);
        } else {
            hours = digits(rest, 2);
        }
        if (!hours || !minutes || *minutes > 59 || *hours * 60 + *minutes > 14 * 60) break;
        const int offset = sign * (*hours * 3600 + *minutes * 60);
        return ZoneRule{ZoneRule::Kind::fixed, offset_text(offset), offset};
    }

    // Any name of the system's database: Etc/GMT+1 (one hour west) and the old names kept as links.
    if (!text.empty() && text.find(':') == std::string_view::npos) {
        try {
            return ZoneRule{ZoneRule::Kind::iana, std::string(date::locate_zone(text)->name()), 0};
        } catch (const std::exception&) {
            // not in the database: the message below
        }
    }
    error = "Die Zeitzone \"" + std::string(text) +
            "\" ist unbekannt (erwartet: ein Name wie Europe/Berlin, ein Versatz wie UTC+01:00 oder LMT).";
    return std::nullopt;
}

Conversion to_universal(const CivilTime& local, const ZoneRule& zone, double longitude, Ambiguous choice)
{
    if (!valid_civil_time(local))
        return {std::nullopt, "Die Ortszeit " + civil_time_text(local) + " ist kein g\xFC" "ltiges Datum mit Uhrzeit."};
    const date::local_seconds when = local_seconds(local);

    if (zone.kind == ZoneRule::Kind::fixed) {
        const Seconds offset{zone.offset_seconds};
        return {UniversalTime{universal(local, when, offset), zone.name, zone.offset_seconds}, {}};
    }
    if (zone.kind == ZoneRule::Kind::lmt) {
        if (!(std::fabs(longitude) <= 180))
            return {std::nullopt, "Die mittlere Ortszeit braucht eine geographische L\xE4nge."};
        const int offset = mean_time_offset(longitude);
        return {UniversalTime{universal(local, when, Seconds{offset}), "LMT", offset}, {}};
    }

    if (local.year > last_zone_rule_year)
        return {std::nullopt, "Die Zeitzonenregeln reichen nur bis " + std::to_string(last_zone_rule_year) +
                                  "; f\xFC" "r sp\xE4" "tere Jahre bitte einen festen Versatz wie UTC+01:00 angeben."};
    std::vector<Period> periods;
    try {
        periods = periods_around(*date::locate_zone(zone.name), when, longitude);
    } catch (const std::exception& e) {
        return {std::nullopt, "Die Zeitzone \"" + zone.name + "\" ist in der Zeitzonendatenbank des Systems nicht lesbar."};
    }
    // The stretches whose clocks showed this local time at the place, earliest first. The switch
    // from local mean time to zone time is the zone's transition instant: before it the place's
    // own mean time, after it the zone time, so the clock times skipped or repeated there follow
    // from the place's offsets, not from those of the zone's city.
    std::vector<const Period*> readings;
    for (const Period& p : periods) {
        const date::sys_seconds instant{when.time_since_epoch() - Seconds{p.offset}};
        if (p.begin <= instant && instant < p.end) readings.push_back(&p);
    }
    const std::string where = "Die Ortszeit " + civil_time_text(local) + " gibt es in " + zone.name;
    if (readings.empty()) {
        // The clocks jumped over it at a switch from one stretch to the next.
        for (std::size_t i = 0; i + 1 < periods.size(); ++i) {
            const Period& before = periods[i];
            const Period& after = periods[i + 1];
            const date::local_seconds from{before.end.time_since_epoch() + Seconds{before.offset}};
            const date::local_seconds to{before.end.time_since_epoch() + Seconds{after.offset}};
            if (!(from <= when && when < to)) continue;
            const CivilTime f = civil(from), t = civil(to);
            return {std::nullopt, where + " nicht: am " + date_text(f) + " wurde die Uhr um " + clock_text(f) + " " +
                                      zone_time_text(before) + " auf " + clock_text(t) + " " + zone_time_text(after) +
                                      " gestellt."};
        }
        return {std::nullopt, where + " nicht."};
    }
    const Period& earlier = *readings.front();
    const Period& later = *readings.back();
    if (earlier.offset != later.offset && choice == Ambiguous::refuse) {
        const auto reading = [&](const Period& p) {
            return zone_time_text(p) + " = " + civil_time_text(universal(local, when, Seconds{p.offset})) + " UT";
        };
        return {std::nullopt, where + " zweimal: fr\xFC" "her als " + reading(earlier) + ", sp\xE4" "ter als " +
                                  reading(later) + ". Bitte fr\xFC" "her oder sp\xE4" "ter w\xE4" "hlen."};
    }
    const Period& in_force = choice == Ambiguous::later ? later : earlier;
    return {UniversalTime{universal(local, when, Seconds{in_force.offset}), in_force.abbreviation, in_force.offset}, {}};
}

std::optional<LocalTime> to_local(double jd_ut, const ZoneRule& zone, double longitude)
{
    const std::optional<CivilTime> ut = from_julian_day(jd_ut);
    if (!ut) return std::nullopt;
    const date::sys_seconds when{Seconds{std::llround((jd_ut - static_cast<double>(unix_epoch_day_number) + 0.5) * 86400.0)}};
    const auto shown = [&](int offset, std::string abbreviation) -> std::optional<LocalTime> {
        const CivilTime local = civil(date::sys_seconds{when.time_since_epoch() + Seconds{offset}});
        if (!valid_civil_time(local)) return std::nullopt;
        return LocalTime{local, std::move(abbreviation), offset};
    };
    const auto mean_time = [&]() -> std::optional<LocalTime> {
        if (!(std::fabs(longitude) <= 180)) return std::nullopt;
        return shown(static_cast<int>(std::lround(longitude * 240.0)), "LMT");
    };
    if (zone.kind == ZoneRule::Kind::fixed) return shown(zone.offset_seconds, zone.name);
    if (zone.kind == ZoneRule::Kind::lmt) return mean_time();
    if (ut->year > last_zone_rule_year) return std::nullopt;
    date::sys_info info;
    try {
        info = date::locate_zone(zone.name)->get_info(when);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (info.abbrev == "LMT") return mean_time();
    return shown(static_cast<int>(info.offset.count()), info.abbrev);
}

ZoneRule system_zone()
{
    std::string error;
    if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0') {
        std::string_view name(tz);
        if (name.front() == ':') name.remove_prefix(1);
        if (auto zone = parse_zone(name, error); zone && zone->kind != ZoneRule::Kind::lmt) return *zone;
    }
    try {
        if (const date::time_zone* zone = date::current_zone(); zone != nullptr)
            if (auto rule = parse_zone(zone->name(), error)) return *rule;
    } catch (const std::exception&) {
    }
    ZoneRule utc;
    utc.name = "UTC";
    return utc;
}

double julian_day(const CivilTime& ut)
{
    const auto number = chart_day_number(ut.year, ut.month, ut.day);
    return static_cast<double>(number) - 0.5 + static_cast<double>(time_of_day(ut).count()) / 86400.0;
}

namespace {

std::optional<CivilTime> civil_of_julian_day(double jd, const CivilTime* typed)
{
    // Years 1 to 9999 only.
    const double first = static_cast<double>(chart_day_number(1, 1, 1)) - 0.5;
    const double last = static_cast<double>(chart_day_number(10000, 1, 1)) - 0.5;
    if (!(jd >= first && jd < last)) return std::nullopt;
    const long long seconds = std::llround((jd - static_cast<double>(unix_epoch_day_number) + 0.5) * 86400.0);
    const CivilTime t = civil(date::sys_seconds{Seconds{seconds}}, typed);
    if (!valid_civil_time(t)) return std::nullopt;
    return t;
}

}  // namespace

std::optional<CivilTime> from_julian_day(double jd) { return civil_of_julian_day(jd, nullptr); }

std::optional<CivilTime> from_julian_day(double jd, const CivilTime& typed) { return civil_of_julian_day(jd, &typed); }

}  // namespace duoskop
