// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/timeline_export.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/chart_file.h"
#include "astro/calendar.h"
#include "base/cp1252.h"
#include "base/csv.h"
#include "timeline/timeline_texts.h"

namespace duoskop {

namespace {

/// Julian day number of 1 January 1970, day 0 of the system clock.
constexpr std::int64_t unix_epoch_day_number = 2440588;

std::string digits(std::int64_t value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, static_cast<long long>(value));
    return buffer;
}

/// 64-bit FNV-1a of some bytes, continuing `hash`.
std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ULL)
{
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

/// "YYYYMMDDTHHMMSSZ" of a day number and seconds of that day, in the Gregorian calendar that
/// calendar files count in (also before 1582).
std::string utc_stamp(std::int64_t day_number, std::int64_t seconds)
{
    using namespace std::chrono;
    const year_month_day date{sys_days{days{day_number - unix_epoch_day_number}}};
    return digits(static_cast<int>(date.year()), 4) + digits(static_cast<unsigned>(date.month()), 2) +
           digits(static_cast<unsigned>(date.day()), 2) + "T" + digits(seconds / 3600, 2) +
           digits(seconds / 60 % 60, 2) + digits(seconds % 60, 2) + "Z";
}

/// A TEXT value of a calendar property: backslash, semicolon, comma and line breaks escaped.
std::string ics_escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c != '\r') {
            out += c;
        }
    }
    return out;
}

/// One content line, folded after 75 octets (a continuation starts with a blank) without cutting
/// a UTF-8 character, ending in CR LF.
std::string folded(std::string_view line)
{
    std::string out;
    std::size_t limit = 75;
    while (line.size() > limit) {
        std::size_t cut = limit;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = 74;  // the blank counts
    }
    out.append(line);
    out += "\r\n";
    return out;
}

std::string direction_text(Direction d) { return std::string(1, static_cast<char>(d)); }

}  // namespace

MinuteTime minute_time(double instant)
{
    // Minutes since 0h of Julian day number 0 (the day that begins at noon of JD 0).
    const auto minutes = static_cast<std::int64_t>(std::llround((instant + 0.5) * 1440.0));
    std::int64_t number = minutes / 1440;
    std::int64_t of_day = minutes % 1440;
    if (of_day < 0) {
        of_day += 1440;
        --number;
    }
    const ChartDate date = chart_date_of(number);
    return {date.year, date.month, date.day, static_cast<int>(of_day / 60), static_cast<int>(of_day % 60), number};
}

std::string date_text(const MinuteTime& t)
{
    return digits(t.day, 2) + "." + digits(t.month, 2) + "." + digits(t.year, 4);
}

std::string clock_text(const MinuteTime& t) { return digits(t.hour, 2) + ":" + digits(t.minute, 2); }

std::vector<std::string> hit_fields(const Timeline& timeline, const Hit& hit)
{
    const MinuteTime t = minute_time(hit.instant);
    return {date_text(t),
            clock_text(t),
            mover_name(timeline.movers[hit.mover]),
            angle_text_of(hit.angle),
            point_name(timeline.targets[hit.target].point),
            direction_text(hit.direction),
            hit.ergebnis ? std::string(texts::kHitInErgebnis) : std::string()};
}

std::vector<std::string> hit_header()
{
    return {std::begin(texts::kHitColumns), std::end(texts::kHitColumns)};
}

std::vector<std::string> unknown_time_notes(const Timeline& timeline, const std::string& name1, const std::string& name2)
{
    std::vector<std::string> notes;
    const auto note = [&](int person, const std::string& name) {
        std::string line = std::string(texts::kTimelineUnknownTime1) + std::to_string(person);
        if (!name.empty()) line += " (" + name + ")";
        notes.push_back(line + std::string(texts::kTimelineUnknownTime2));
    };
    if (!timeline.time_known1) note(1, name1);
    if (!timeline.time_known2) note(2, name2);
    return notes;
}

std::string timeline_tsv(const Timeline& timeline, const std::vector<std::string>& notes)
{
    std::string out;
    out.reserve(64 * (timeline.hits.size() + 2));
    for (const std::string& note : notes) out += "# " + note + "\n";
    const auto line = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += '\t';
            out += fields[i];
        }
        out += '\n';
    };
    line(hit_header());
    for (const Hit& hit : timeline.hits) line(hit_fields(timeline, hit));
    return out;
}

std::string timeline_csv(const Timeline& timeline)
{
    std::vector<std::string> header;
    for (const std::string& h : hit_header()) header.push_back(cp1252_to_utf8(h));
    std::string out = csv_row(header);
    for (const Hit& hit : timeline.hits) out += csv_row(hit_fields(timeline, hit));
    return out;
}

std::string event_summary(const Timeline& timeline, const Hit& hit)
{
    const Mover& m = timeline.movers[hit.mover];
    // A directed factor with its person, also WI: each person's WI is directed by its own arc.
    std::string summary = m.kind == Mover::Kind::transit
                              ? std::string(texts::kEventTransit) + std::string(body_codes[m.body])
                              : std::string(texts::kEventArc) + std::string(body_codes[m.body]) + std::to_string(m.person());
    summary += " " + angle_text_of(hit.angle) + "\xB0 " + point_name(timeline.targets[hit.target].point);
    if (hit.direction != Direction::direct) summary += " (" + direction_text(hit.direction) + ")";
    return summary;
}

std::string timeline_ics(const Timeline& timeline, const CalendarContext& context)
{
    std::string out;
    const auto property = [&out](std::string_view name, std::string_view value) {
        out += folded(std::string(name) + ":" + std::string(value));
    };
    const std::string records = chart_record_bytes(context.person1) + chart_record_bytes(context.person2);
    const std::uint64_t records_hash = fnv1a(records);
    const std::int64_t stamp_day = context.stamp >= 0 ? context.stamp / 86400 : -((-context.stamp + 86399) / 86400);
    const std::string stamp = utc_stamp(stamp_day + unix_epoch_day_number, context.stamp - stamp_day * 86400);

    property("BEGIN", "VCALENDAR");
    property("VERSION", "2.0");
    property("PRODID", "-//Duoskop//Duoskop " + context.version + "//DE");
    property("CALSCALE", "GREGORIAN");
    property("METHOD", "PUBLISH");
    property("X-WR-CALNAME",
             ics_escaped(cp1252_to_utf8(std::string(texts::kCalendarName) + context.person1.name + " \x96 " +
                                        context.person2.name)));
    for (const Hit& hit : timeline.hits) {
        const MinuteTime t = minute_time(hit.instant);
        const std::string start = utc_stamp(t.day_number, t.hour * 3600 + t.minute * 60);
        const std::string mover = mover_name(timeline.movers[hit.mover]);
        const std::string target = point_name(timeline.targets[hit.target].point);
        const std::string angle = angle_text_of(hit.angle);
        std::uint64_t uid = fnv1a(mover, records_hash);
        for (const std::string& part : {std::string("|"), target, std::string("|"), angle, std::string("|"),
                                        start.substr(0, 13)})
            uid = fnv1a(part, uid);
        char uid_text[40];
        std::snprintf(uid_text, sizeof uid_text, "%016llx@duoskop", static_cast<unsigned long long>(uid));
        std::string description = std::string(texts::kEventMover) + mover + std::string(texts::kEventAngle) + angle +
                                  "\xB0" + std::string(texts::kEventTarget) + target +
                                  std::string(texts::kEventDirection) +
                                  std::string(hit.direction == Direction::direct       ? texts::kEventDirect
                                              : hit.direction == Direction::retrograde ? texts::kEventRetrograde
                                                                                       : texts::kEventStation);
        if (hit.ergebnis) description += texts::kEventErgebnis;
        property("BEGIN", "VEVENT");
        property("UID", uid_text);
        property("DTSTAMP", stamp);
        property("DTSTART", start);
        property("SUMMARY", ics_escaped(cp1252_to_utf8(event_summary(timeline, hit))));
        property("DESCRIPTION", ics_escaped(cp1252_to_utf8(description)));
        property("TRANSP", "TRANSPARENT");
        property("END", "VEVENT");
    }
    property("END", "VCALENDAR");
    return out;
}

}  // namespace duoskop
