// SPDX-License-Identifier: GPL-3.0-or-later
#include "birth/exchange.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "base/cp1252.h"
#include "birth/local_time.h"

namespace duoskop {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool unknown(std::string_view field) { return field.empty() || field == "*"; }

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t stop = text.find(separator, start);
        parts.push_back(trim(text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start)));
        if (stop == std::string_view::npos) return parts;
        start = stop + 1;
    }
}

/// The lines of a text (LF or CR LF), as UTF-8: a file that is no valid UTF-8 is Windows-1252.
std::vector<std::string> utf8_lines(std::string_view bytes)
{
    const std::string text = valid_utf8(bytes) == bytes ? std::string(bytes) : cp1252_to_utf8(bytes);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = text.find('\n', start);
        if (stop == std::string::npos) stop = text.size();
        std::string line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = stop + 1;
    }
    return lines;
}

std::optional<int> whole(std::string_view text, std::size_t max_digits)
{
    if (text.empty() || text.size() > max_digits || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

/// "MM" or "MM:SS" after the degrees or hours of an AAF field, in seconds; "" is 0.
std::optional<int> minutes_seconds(std::string_view text)
{
    if (text.empty()) return 0;
    const auto parts = split(text, ':');
    if (parts.size() > 2) return std::nullopt;
    const auto m = whole(parts[0], 2);
    const auto s = parts.size() == 2 ? whole(parts[1], 2) : std::optional<int>(0);
    if (!m || !s || *m > 59 || *s > 59) return std::nullopt;
    return *m * 60 + *s;
}

/// An AAF coordinate such as "49n05", "8e11" or "58w27:30": degrees, the direction letter (one
/// of `positive`, `negative`), minutes and seconds; in degrees, north and east positive.
std::optional<double> aaf_coordinate(std::string_view text, std::string_view positive, std::string_view negative,
                                     int limit)
{
    const std::size_t letter = text.find_first_not_of("0123456789");
    if (letter == std::string_view::npos || letter == 0) return std::nullopt;
    const char l = static_cast<char>(text[letter] | 0x20);
    const bool east = positive.find(l) != std::string_view::npos;
    if (!east && negative.find(l) == std::string_view::npos) return std::nullopt;
    const auto degrees = whole(text.substr(0, letter), 3);
    const auto rest = minutes_seconds(text.substr(letter + 1));
    if (!degrees || !rest || *degrees * 3600 + *rest > limit * 3600) return std::nullopt;
    return (east ? 1 : -1) * (*degrees + *rest / 3600.0);
}

/// An AAF zone difference such as "1he00", "1he", "0e21:48" or "5hw": hours, an optional 'h',
/// 'e' (east) or 'w', minutes and seconds; in seconds, east positive.
std::optional<int> aaf_zone(std::string_view text)
{
    const std::size_t letter = text.find_first_not_of("0123456789");
    if (letter == std::string_view::npos || letter == 0) return std::nullopt;
    const auto hours = whole(text.substr(0, letter), 2);
    std::string_view rest = text.substr(letter);
    if (!rest.empty() && (rest[0] | 0x20) == 'h') rest.remove_prefix(1);
    if (rest.empty() || ((rest[0] | 0x20) != 'e' && (rest[0] | 0x20) != 'w')) return std::nullopt;
    const int sign = (rest[0] | 0x20) == 'e' ? 1 : -1;
    const auto ms = minutes_seconds(rest.substr(1));
    if (!hours || !ms || *hours * 3600 + *ms > 14 * 3600) return std::nullopt;
    return sign * (*hours * 3600 + *ms);
}

std::optional<double> number(std::string_view text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

/// What a record of either format says, before the atlas and the zone rules are asked.
struct RawRecord {
    std::size_t line = 0;
    std::string name, first_name, date, time, place, country, extra;  // UTF-8
    std::optional<double> julian_day, latitude, longitude;
    std::optional<ZoneRule> zone;  // nothing: the zone of the place
    std::string error;             // set while reading: the record is bad
};

ImportedRecord refused(std::size_t line, std::string why) { return {line, std::nullopt, std::move(why)}; }

/// The best place of the atlas with exactly this name (or the part before '/' or '('), in the country.
std::optional<Place> find_place(const Atlas* atlas, const RawRecord& raw, std::string& error)
{
    const std::string quoted = "\"" + utf8_to_cp1252(raw.place).value_or(raw.place) + "\"";
    if (unknown(raw.place)) {
        error = "Ohne Ort fehlen Zeitzone oder Koordinaten.";
        return std::nullopt;
    }
    if (atlas == nullptr) {
        error = "Der Ort " + quoted + " kann ohne Atlas nicht gesucht werden.";
        return std::nullopt;
    }
    std::optional<std::string> iso;
    if (!unknown(raw.country) && !(iso = country_code(raw.country))) {
        error = "Das Land \"" + utf8_to_cp1252(raw.country).value_or("?") + "\" ist kein bekanntes Kennzeichen.";
        return std::nullopt;
    }
    const std::string_view full = raw.place;
    for (std::string_view name : {full, trim(full.substr(0, full.find_first_of("/(")))}) {
        const auto found = atlas->search(name, 1, iso.value_or(""), NameMatch::whole);
        if (!found.empty()) return found.front();
    }
    error = "Der Ort " + quoted + (iso ? " (" + *iso + ")" : std::string()) + " steht nicht im Atlas.";
    return std::nullopt;
}

ImportedRecord finish(const RawRecord& raw, const Atlas* atlas)
{
    if (!raw.error.empty()) return refused(raw.line, raw.error);
    if (unknown(raw.name)) return refused(raw.line, "Der Name fehlt.");
    const bool unknown_time = unknown(raw.time);
    const auto date = parse_date(raw.date);
    if (!raw.julian_day && !date)
        return refused(raw.line, "Das Datum \"" + utf8_to_cp1252(raw.date).value_or("?") + "\" ist kein Datum T.M.JJJJ.");

    std::optional<Place> place;
    const bool needs_zone = !raw.julian_day && !unknown_time && !raw.zone;
    if (needs_zone || !raw.latitude || !raw.longitude) {
        std::string why;
        place = find_place(atlas, raw, why);
        if (!place) return refused(raw.line, why);
    }
    const double latitude = raw.latitude.value_or(place ? place->latitude : 0);
    const double longitude = raw.longitude.value_or(place ? place->longitude : 0);

    CivilTime ut;
    if (raw.julian_day) {
        const auto t = from_julian_day(*raw.julian_day);
        if (!t) return refused(raw.line, "Der Julianische Tag liegt nicht in den Jahren 1 bis 9999.");
        ut = *t;
    } else if (unknown_time) {
        ut = *date;
        ut.hour = unknown_time_of_day.hour;
    } else {
        const auto local = parse_clock(raw.time, *date);
        if (!local)
            return refused(raw.line, "Die Zeit \"" + utf8_to_cp1252(raw.time).value_or("?") + "\" ist keine Uhrzeit H:MM[:SS].");
        std::string why;
        const auto zone = raw.zone ? raw.zone : parse_zone(place->zone, why);
        if (!zone) return refused(raw.line, why);
        const Conversion converted = to_universal(*local, *zone, longitude);
        if (!converted.time) return refused(raw.line, converted.error);
        ut = converted.time->ut;
    }
    const std::string extra = unknown(raw.extra) ? (unknown(raw.place) ? std::string() : raw.place) : raw.extra;
    ChartData data{chart_text(raw.name), unknown(raw.first_name) ? std::string() : chart_text(raw.first_name),
                   chart_text(extra), ut, longitude, latitude};
    std::string why;
    if (!chart_record_of(data, why)) return refused(raw.line, why);
    return {raw.line, std::move(data), {}};
}

}  // namespace

bool looks_like_aaf(std::string_view bytes)
{
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string_view::npos && bytes[first] == '#';
}

std::vector<ImportedRecord> read_aaf(std::string_view bytes, const Atlas* atlas)
{
    std::vector<ImportedRecord> records;
    std::optional<RawRecord> current;
    const auto flush = [&] {
        if (current) records.push_back(finish(*current, atlas));
        current.reset();
    };
    const auto lines = utf8_lines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (line.starts_with("#A93:")) {
            flush();
            current = RawRecord{};
            current->line = i + 1;
            const auto f = split(line.substr(5), ',');
            if (f.size() < 7) {
                current->error = "Der Satz #A93 hat nicht die sieben Felder Name, Vorname, Typ, Datum, Zeit, Ort, Land.";
                continue;
            }
            current->name = f[0];
            current->first_name = f[1];
            current->date = f[3];
            current->time = f[4];
            current->place = f[5];
            current->country = f[6];
        } else if (line.starts_with("#B93:")) {
            if (!current) {
                records.push_back(refused(i + 1, "Der Satz #B93 steht vor jedem #A93."));
                continue;
            }
            if (!current->error.empty()) continue;
            const auto f = split(line.substr(5), ',');
            if (f.size() < 5) {
                current->error = "Der Satz #B93 in Zeile " + std::to_string(i + 1) +
                                 " hat nicht die f\xFC" "nf Felder Julianischer Tag, Breite, L\xE4" "nge, Zone, Sommerzeit.";
                continue;
            }
            if (!unknown(f[0]) && !(current->julian_day = number(f[0])))
                current->error = "Der Julianische Tag in Zeile " + std::to_string(i + 1) + " ist keine Zahl.";
            if (!unknown(f[1]) && !(current->latitude = aaf_coordinate(f[1], "n", "s", 90)))
                current->error = "Die Breite in Zeile " + std::to_string(i + 1) + " ist nicht wie 49n05.";
            if (!unknown(f[2]) && !(current->longitude = aaf_coordinate(f[2], "eo", "w", 180)))
                current->error = "Die L\xE4" "nge in Zeile " + std::to_string(i + 1) + " ist nicht wie 8e11.";
            if (!unknown(f[3])) {
                const auto zone = aaf_zone(f[3]);
                std::optional<int> summer = unknown(f[4]) || f[4] == "m" || f[4] == "M" ? 0 : whole(f[4], 1);
                if (!zone || !summer || *summer > 2) {
                    current->error = "Zone oder Sommerzeit in Zeile " + std::to_string(i + 1) +
                                     " sind nicht wie 1he00 und 0 oder 1.";
                } else {
                    const int offset = *zone + *summer * 3600;
                    current->zone = ZoneRule{ZoneRule::Kind::fixed, offset_text(offset), offset};
                }
            }
        }
        // #ZNAM, #COM, #SRC, "#:" comments and anything else carry nothing for the chart.
    }
    flush();
    return records;
}

namespace {

/// The fields of one CSV line; nothing when a quote is not closed.
std::optional<std::vector<std::string>> csv_fields(std::string_view line, char separator)
{
    std::vector<std::string> fields(1);
    bool quoted = false, was_quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"' && trim(fields.back()).empty() && !was_quoted) {
            fields.back().clear();
            quoted = was_quoted = true;
        } else if (c == separator) {
            fields.emplace_back();
            was_quoted = false;
        } else {
            fields.back() += c;
        }
    }
    if (quoted) return std::nullopt;
    for (auto& f : fields) f = std::string(trim(f));
    return fields;
}

/// A CSV coordinate: decimal degrees (point or comma) or "D M S", signed; nothing when malformed.
std::optional<double> csv_coordinate(std::string_view text, int degree_digits, int limit)
{
    const auto field = coordinate_field(text, degree_digits, limit);
    if (!field) return std::nullopt;
    const chart_record r{"", "", "", "", "", degree_digits == 3 ? *field : "+000 00 00",
                         degree_digits == 2 ? *field : "+00 00 00"};
    const BirthData b = werte_aktual(r);
    return degree_digits == 3 ? b.geo_longitude : b.geo_latitude;
}

}  // namespace

std::vector<ImportedRecord> read_csv(std::string_view bytes, const Atlas* atlas)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    const auto lines = utf8_lines(bytes);
    std::vector<ImportedRecord> records;
    if (lines.empty()) return records;
    const char separator = lines[0].find(';') != std::string::npos ? ';' : ',';
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (trim(lines[i]).empty()) continue;
        RawRecord raw;
        raw.line = i + 1;
        const auto f = csv_fields(lines[i], separator);
        if (!f || f->size() < 9 || f->size() > 10) {
            records.push_back(refused(i + 1, f ? "Die Zeile hat nicht 9 oder 10 Felder (" + std::to_string(f->size()) + ")."
                                               : std::string("Ein Anf\xFC" "hrungszeichen wird nicht geschlossen.")));
            continue;
        }
        const auto& c = *f;
        raw.name = c[0];
        raw.first_name = c[1];
        raw.date = c[2];
        raw.time = c[3];
        raw.place = c[5];
        raw.country = c[6];
        if (c.size() == 10) raw.extra = c[9];
        if (!c[4].empty()) {
            std::string why;
            raw.zone = parse_zone(c[4], why);
            if (!raw.zone) raw.error = why;
        }
        if (!c[7].empty() && !(raw.latitude = csv_coordinate(c[7], 2, 90)))
            raw.error = "Die Breite \"" + utf8_to_cp1252(c[7]).value_or("?") + "\" ist keine Koordinate.";
        if (!c[8].empty() && !(raw.longitude = csv_coordinate(c[8], 3, 180)))
            raw.error = "Die L\xE4" "nge \"" + utf8_to_cp1252(c[8]).value_or("?") + "\" ist keine Koordinate.";
        records.push_back(finish(raw, atlas));
    }
    return records;
}

namespace {

/// A coordinate as AAF writes it: "52n31", with ":SS" when there are seconds.
std::string aaf_coordinate_text(double degrees, char positive, char negative)
{
    const long s = std::lround(std::fabs(degrees) * 3600.0);
    char b[48];
    if (s % 60 != 0)
        std::snprintf(b, sizeof b, "%ld%c%02ld:%02ld", s / 3600, degrees < 0 ? negative : positive, s / 60 % 60, s % 60);
    else
        std::snprintf(b, sizeof b, "%ld%c%02ld", s / 3600, degrees < 0 ? negative : positive, s / 60 % 60);
    return b;
}

/// A name field of AAF: no commas (they separate the fields), "*" when empty.
std::string aaf_text(std::string text)
{
    for (char& c : text)
        if (c == ',' || c == '\r' || c == '\n') c = ' ';
    return trim(text).empty() ? "*" : text;
}

}  // namespace

std::string write_aaf(const std::vector<chart_record>& records)
{
    std::string out;
    for (const chart_record& r : records) {
        const ChartData d = chart_data_of(r);
        char jd[64];
        const auto [end, ec] = std::to_chars(jd, jd + sizeof jd, julian_day(d.ut), std::chars_format::fixed, 6);
        const std::string when = civil_time_text(d.ut);
        out += "#A93:" + aaf_text(r.name) + "," + aaf_text(r.first_name) + ",*," + when.substr(0, 10) + "," +
               when.substr(11) + "," + aaf_text(r.extra) + ",*\r\n";
        out += "#B93:" + std::string(jd, ec == std::errc() ? end : jd) + "," + aaf_coordinate_text(d.latitude, 'n', 's') +
               "," + aaf_coordinate_text(d.longitude, 'e', 'w') + ",0he00,0\r\n";
    }
    return out;
}

}  // namespace duoskop
