// SPDX-License-Identifier: GPL-3.0-or-later
// From the clock time of a birth certificate to universal time: the zone's rules in force at that
// moment (the IANA time-zone database of the system, with its history), a fixed offset, or the
// local mean time of the birth place's longitude.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace duoskop {

/// A date of the chart calendar (Julian before 1582, Gregorian from 1582: astro/calendar.h) and a
/// time of day, without any zone.
struct CivilTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool operator==(const CivilTime&) const = default;
};

/// True for a real calendar date of the years 1-9999 and a time 00:00:00-23:59:59.
bool valid_civil_time(const CivilTime& t);

/// "DD.MM.YYYY HH:MM:SS".
std::string civil_time_text(const CivilTime& t);

/// Where a local time is read: an IANA zone ("Europe/Berlin"), a fixed offset from universal
/// time ("UTC+01:00"; "UTC" alone is universal time), or the local mean time of a longitude ("LMT").
struct ZoneRule {
    enum class Kind { iana, fixed, lmt };
    Kind kind = Kind::fixed;
    std::string name;        ///< the IANA name; for a fixed offset its text "UTC+01:00"
    int offset_seconds = 0;  ///< the fixed offset, east positive
    bool operator==(const ZoneRule&) const = default;
};

/// The zone written as a name of the system's time-zone database (Etc/GMT+1, old names kept as links), "UTC", "UT" or "GMT" with an optional offset "+H", "+HH",
/// "+HH:MM" or "+HHMM" (or "-" ...; at most 14 hours), or "LMT" (any case for these three).
/// Nothing when it is none of them, with the German reason (Windows-1252) in `error`.
std::optional<ZoneRule> parse_zone(std::string_view text, std::string& error);

/// Which reading of a local time that the clocks showed twice (the hour repeated in autumn).
enum class Ambiguous { refuse, earlier, later };

/// A local time read in its zone.
struct UniversalTime {
    CivilTime ut;               ///< date and time in universal time (the date may differ)
    std::string abbreviation;   ///< of the zone time in force, such as "CEST", "CEMT", "LMT", "-03"
    int offset_seconds = 0;     ///< local time minus universal time, in seconds
};

struct Conversion {
    std::optional<UniversalTime> time;
    std::string error;  ///< German (Windows-1252) when there is no time
};

/// Universal time of the local time `local` in `zone`; `longitude` (degrees, east positive) is the
/// birth place's, read for local mean time as 4 minutes of time per degree: for the zone "LMT" and
/// wherever the zone's rule in force is local mean time (abbreviation "LMT"), so that a birth
/// before standard time gets the mean time of its own place, not that of the zone's city. A local time that the clocks
/// skipped is refused naming the switch; one they showed twice is refused naming both readings
/// unless `choice` picks one (earlier = the first of the two instants). Where the zone switched from
/// local mean time to zone time, the switch is the zone's transition instant in universal time: the
/// clock times skipped or repeated at the birth place follow from its own mean time before that
/// instant and the zone time after it. A local date of 01.-10.01.1582 keeps its 1582 name in the
/// universal date (astro/calendar.h).
Conversion to_universal(const CivilTime& local, const ZoneRule& zone, double longitude,
                        Ambiguous choice = Ambiguous::refuse);

/// A universal-time instant as the clocks of a zone showed it.
struct LocalTime {
    CivilTime local;            ///< date (chart calendar) and clock time in the zone
    std::string abbreviation;   ///< of the zone time in force, such as "CET", "CEST", "UTC+01:00"
    int offset_seconds = 0;     ///< local time minus universal time, in seconds
};

/// The local time in `zone` of the instant `jd_ut` (Julian day, universal time, taken to the
/// second); `longitude` (degrees, east positive) for local mean time, as in to_universal. Nothing
/// outside the years 1-9999, for "LMT" without a longitude, and for a zone of the time-zone
/// database after 2037 (its rules reach no further).
std::optional<LocalTime> to_local(double jd_ut, const ZoneRule& zone, double longitude);

/// The zone of this system: the TZ variable when it names a zone to_local can read, else the zone
/// of /etc/localtime, else "UTC".
ZoneRule system_zone();

/// An offset as "UTC+01:00", with seconds when it has any ("UTC+00:53:28").
std::string offset_text(int offset_seconds);

/// Julian day (universal time, days from noon of 1 January 4713 BC in the Julian calendar) of a
/// universal date and time, and back (rounded to the second), in the chart calendar as the chart
/// computation counts it: a day of 22.-31.12.1581 comes back with that Julian name, or, given a
/// `typed` date of 01.-10.01.1582, with its 1582 name (the same day to the chart computation).
double julian_day(const CivilTime& ut);
std::optional<CivilTime> from_julian_day(double jd);
std::optional<CivilTime> from_julian_day(double jd, const CivilTime& typed);

}  // namespace duoskop
