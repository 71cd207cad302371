// SPDX-License-Identifier: GPL-3.0-or-later
// The hits of a timeline as texts: date and clock time to the minute, one line per hit for the
// terminal (tab-separated), the CSV file and the calendar file (RFC 5545).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/chart_state.h"
#include "timeline/timeline.h"

namespace duoskop {

/// An instant rounded to the minute: the date in the chart calendar (Julian before 1582) and the
/// clock time, universal time.
struct MinuteTime {
    std::int64_t year = 0, month = 1, day = 1;
    int hour = 0, minute = 0;
    std::int64_t day_number = 0;  ///< Julian day number of the date
};
MinuteTime minute_time(double instant);

/// "TT.MM.JJJJ" and "hh:mm".
std::string date_text(const MinuteTime& time);
std::string clock_text(const MinuteTime& time);

/// The fields of a hit: Datum, Zeit (UT), Auslöser ("SB1:SO", "T:SA"), Winkel ("22,5"), Ziel
/// ("MC1/VE2"), Richtung ("d", "r", "s"), Ergebnis ("ja" or empty). ASCII.
std::vector<std::string> hit_fields(const Timeline& timeline, const Hit& hit);

/// The header of the table of hits: Datum, Zeit, Auslöser, Winkel, Ziel, Richtung, Ergebnis
/// (Windows-1252).
std::vector<std::string> hit_header();

/// The lines that say whose birth time is unknown and what is left out (Windows-1252), none when
/// both times are known. `name1`, `name2` name the persons.
std::vector<std::string> unknown_time_notes(const Timeline& timeline, const std::string& name1,
                                            const std::string& name2);

/// The TSV header line and one line per hit, each ending in "\n"; the notes on unknown birth times
/// as comment lines ("# ...") before the header. Windows-1252.
std::string timeline_tsv(const Timeline& timeline, const std::vector<std::string>& notes);

/// The CSV file as `rank` writes its CSV: the header, then one row per hit; UTF-8, CR LF, a field
/// in double quotes when it holds a comma (Winkel "22,5"), a quote or a line break.
std::string timeline_csv(const Timeline& timeline);

/// What a calendar file needs besides the hits.
struct CalendarContext {
    chart_record person1;
    chart_record person2;
    std::int64_t stamp = 0;  ///< DTSTAMP, seconds since 1970-01-01 00:00 UTC
    std::string version;     ///< the program's version for PRODID
};

/// The hits as an RFC 5545 calendar (UTF-8, CR LF, lines folded at 75 octets): one event per hit
/// at its minute (UTC, Gregorian calendar), summary "Sonnenbogen SO1 45° MC1/VE2" or "Transit SA
/// 45° MC1/VE2" (with " (r)" or " (s)" for a backward pass or a station), UID from a hash of both
/// chart records, mover, target, Winkel and the minute, so that a second export replaces the
/// events of the first.
std::string timeline_ics(const Timeline& timeline, const CalendarContext& context);

/// The summary of a hit's event (Windows-1252).
std::string event_summary(const Timeline& timeline, const Hit& hit);

}  // namespace duoskop
