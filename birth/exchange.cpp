// SPDX-License-Identifier: GPL-3.0-or-later
#include "birth/exchange.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "base/cp1252.h"
#include "birth/birth_texts.h"
#include "birth/intake.h"
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

/// The lines of a text as UTF-8: a byte order mark at the start is dropped, lines end with LF,
/// CR LF or CR alone, and each line is read on its own: valid UTF-8 as it is, anything else as
/// Windows-1252 (counted in `cp1252_lines`).
std::vector<std::string> utf8_lines(std::string_view bytes, std::size_t& cp1252_lines)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) stop = bytes.size();
        const std::string_view line = bytes.substr(start, stop - start);
        if (valid_utf8(line) == line) {
            lines.emplace_back(line);
        } else {
            lines.push_back(cp1252_to_utf8(line));
            ++cp1252_lines;
        }
        start = stop + (bytes.substr(stop).starts_with("\r\n") ? 2 : 1);
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

/// True when `line` begins with the AAF tag `tag` ("#A93:"), in any case.
bool aaf_tag(std::string_view line, std::string_view tag)
{
    if (line.size() < tag.size()) return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if ((line[i] | 0x20) != (tag[i] | 0x20)) return false;
    return true;
}

/// An AAF text field (name, first name, place): "*" is not given and read as "", and a field of
/// stars only stands for one star less, so that "**" is the text "*" (write_aaf adds the star).
std::string aaf_field(std::string_view field)
{
    if (!field.empty() && field.find_first_not_of('*') == std::string_view::npos) field.remove_prefix(1);
    return std::string(field);
}

/// What a record of either format says, before the atlas and the zone rules are asked.
struct RawRecord {
    std::size_t line = 0;
    std::string name, first_name, date, time, place, country, extra;  // UTF-8
    std::optional<double> julian_day, latitude, longitude;
    std::string region;
    std::optional<ZoneRule> zone;  // nothing: the zone of the place
    std::string error;             // set while reading: the record is bad
    bool stars_read = false;       // AAF: name, first name and place are read already ("" unknown, "*" a star)
};

ImportedRecord refused(std::size_t line, std::string why) { return {line, std::nullopt, std::move(why), {}, {}, {}}; }

ImportedRecord finish(const RawRecord& raw, const Atlas* atlas)
{
    if (!raw.error.empty()) return refused(raw.line, raw.error);
    // A text field that is not given: empty, or in CSV "*" (AAF's "*" was read in read_aaf_file).
    const auto absent = [&raw](std::string_view field) { return raw.stars_read ? trim(field).empty() : unknown(field); };
    if (absent(raw.name)) return refused(raw.line, cp1252_to_utf8(texts::kRefuseNoName));
    BirthInput input;
    input.name = raw.name;
    input.first_name = absent(raw.first_name) ? std::string() : raw.first_name;
    input.extra = absent(raw.extra) ? std::string() : raw.extra;
    input.date = raw.date;
    input.time = raw.time;
    input.time_unknown = unknown(raw.time);
    input.local_time = true;
    input.zone_rule = raw.zone;
    input.place = absent(raw.place) ? std::string() : raw.place;
    input.country = unknown(raw.country) ? std::string() : raw.country;
    input.region = raw.region;
    input.longitude = raw.longitude;
    input.latitude = raw.latitude;
    input.julian_day = raw.julian_day;
    const IntakeResult made = make_chart(input, IntakeContext{atlas});
    if (!made.ok()) return refused(raw.line, made.reasons());
    return {raw.line, chart_data_of(made.record), {}, made.record, made.file_name, made.extra_note};
}

}  // namespace

bool looks_like_aaf(std::string_view bytes)
{
    // A line that begins with a record tag, in any case; "#" alone may begin a CSV comment.
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) stop = bytes.size();
        std::string_view line = bytes.substr(start, stop - start);
        if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        if (aaf_tag(trim(line), "#A93:") || aaf_tag(trim(line), "#B93:")) return true;
        start = stop + 1;
    }
    return false;
}

ExchangeFile read_aaf_file(std::string_view bytes, const Atlas* atlas)
{
    ExchangeFile file;
    std::vector<ImportedRecord>& records = file.records;
    std::optional<RawRecord> current;
    const auto flush = [&] {
        if (current) records.push_back(finish(*current, atlas));
        current.reset();
    };
    const auto lines = utf8_lines(bytes, file.cp1252_lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = trim(lines[i]);
        if (aaf_tag(line, "#A93:")) {
            flush();
            current = RawRecord{};
            current->line = i + 1;
            current->stars_read = true;
            const auto f = split(line.substr(5), ',');
            if (f.size() < 7) {
                current->error = "Der Satz #A93 hat nicht die sieben Felder Name, Vorname, Typ, Datum, Zeit, Ort, Land.";
                continue;
            }
            current->name = aaf_field(f[0]);
            current->first_name = aaf_field(f[1]);
            current->date = f[3];
            current->time = f[4];
            current->place = aaf_field(f[5]);
            current->country = f[6];
        } else if (aaf_tag(line, "#B93:")) {
            if (!current) {
                records.push_back(refused(i + 1, "Der Satz #B93 steht vor jedem #A93."));
                continue;
            }
            if (!current->error.empty()) continue;
            const auto f = split(line.substr(5), ',');
            if (f.size() < 5) {
                current->error = "Der Satz #B93 in Zeile " + std::to_string(i + 1) +
                                 " hat nicht die f\u00FCnf Felder Julianischer Tag, Breite, L\u00E4nge, Zone, Sommerzeit.";
                continue;
            }
            if (!unknown(f[0]) && !(current->julian_day = number(f[0])))
                current->error = "Der Julianische Tag in Zeile " + std::to_string(i + 1) + " ist keine Zahl.";
            if (!unknown(f[1]) && !(current->latitude = aaf_coordinate(f[1], "n", "s", 90)))
                current->error = "Die Breite in Zeile " + std::to_string(i + 1) + " ist nicht wie 49n05.";
            if (!unknown(f[2]) && !(current->longitude = aaf_coordinate(f[2], "eo", "w", 180)))
                current->error = "Die L\u00E4nge in Zeile " + std::to_string(i + 1) + " ist nicht wie 8e11.";
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
    if (records.empty()) file.error = cp1252_to_utf8(texts::kRefuseNoRecord);
    return file;
}

std::vector<ImportedRecord> read_aaf(std::string_view bytes, const Atlas* atlas)
{
    return read_aaf_file(bytes, atlas).records;
}

namespace {

/// The fields of one CSV record; nothing when a quote is not closed (the record goes on in the
/// next line).
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

enum class Column { name, first_name, date, time, zone, place, country, region, latitude, longitude, extra };

struct ColumnName {
    std::string_view name;
    Column column;
};

/// The names a CSV header may give each column, compared by their search key (case, umlauts
/// written ae, oe, ue and blanks do not matter).
constexpr ColumnName column_names[] = {
    {"Name", Column::name},          {"Nachname", Column::name},       {"last name", Column::name},
    {"surname", Column::name},       {"Vorname", Column::first_name},  {"first name", Column::first_name},
    {"firstname", Column::first_name}, {"Datum", Column::date},        {"Geburtsdatum", Column::date},
    {"date", Column::date},          {"Zeit", Column::time},           {"Uhrzeit", Column::time},
    {"Geburtszeit", Column::time},   {"time", Column::time},           {"Zone", Column::zone},
    {"Zeitzone", Column::zone},      {"time zone", Column::zone},      {"Ort", Column::place},
    {"Geburtsort", Column::place},   {"place", Column::place},         {"city", Column::place},
    {"Land", Column::country},       {"country", Column::country},     {"Region", Column::region},
    {"Bundesland", Column::region},  {"Kanton", Column::region},       {"state", Column::region},
    {"Breite", Column::latitude},    {"latitude", Column::latitude},   {"Laenge", Column::longitude},
    {"longitude", Column::longitude}, {"Zusatz", Column::extra},       {"extra", Column::extra},
};
static_assert(std::size(column_names) == 33);

std::optional<Column> column_of(std::string_view header)
{
    const std::string key = search_key(header);
    for (const ColumnName& c : column_names)
        if (search_key(c.name) == key) return c.column;
    return std::nullopt;
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

ExchangeFile read_csv_file(std::string_view bytes, const Atlas* atlas)
{
    ExchangeFile file;
    const auto lines = utf8_lines(bytes, file.cp1252_lines);
    // Blank lines and comment lines ('#') before the header are passed over.
    std::size_t first = 0;
    while (first < lines.size() && (trim(lines[first]).empty() || trim(lines[first]).starts_with('#'))) ++first;
    const std::string expected = "Die erste Zeile muss die Spalten nennen, etwa: " + std::string(csv_columns);
    if (first == lines.size()) {
        file.error = cp1252_to_utf8(texts::kRefuseNoRecord);
        return file;
    }
    // The header: which column holds what.
    const std::string& header = lines[first];
    const char separator = header.find(';') != std::string::npos ? ';' : header.find('\t') != std::string::npos ? '\t' : ',';
    const auto names = csv_fields(header, separator);
    std::vector<Column> columns;
    bool known_any = false;
    std::string unknown_names;
    for (const std::string& n : names.value_or(std::vector<std::string>{})) {
        const auto c = column_of(n);
        if (c) known_any = true;
        else unknown_names += (unknown_names.empty() ? "\"" : ", \"") + n + "\"";
        if (c && std::find(columns.begin(), columns.end(), *c) != columns.end()) {
            file.error = "Zeile " + std::to_string(first + 1) + ": Die Spalte \"" + n + "\" steht zweimal in der Kopfzeile.";
            return file;
        }
        columns.push_back(c.value_or(Column::extra));
    }
    if (!known_any) {
        file.error = "Zeile " + std::to_string(first + 1) + ": keine Kopfzeile. " + expected;
        return file;
    }
    if (!unknown_names.empty()) {
        file.error = "Zeile " + std::to_string(first + 1) + ": unbekannte Spalte " + unknown_names + ". " + expected;
        return file;
    }
    for (const Column needed : {Column::name, Column::date}) {
        if (std::find(columns.begin(), columns.end(), needed) == columns.end()) {
            file.error = "Zeile " + std::to_string(first + 1) + ": Die Spalten Name und Datum fehlen in der Kopfzeile. " + expected;
            return file;
        }
    }

    for (std::size_t i = first + 1; i < lines.size(); ++i) {
        if (trim(lines[i]).empty()) continue;
        const std::size_t start = i;
        // A quoted field may hold line breaks: the record goes on until its quote closes.
        std::string record_text = lines[i];
        auto f = csv_fields(record_text, separator);
        while (!f && i + 1 < lines.size()) {
            record_text += "\n" + lines[++i];
            f = csv_fields(record_text, separator);
        }
        if (!f) {
            // Nothing closes it: this line alone is refused, the next one read on its own.
            file.records.push_back(refused(start + 1, "Ein Anf\u00FChrungszeichen wird nicht geschlossen."));
            i = start;
            continue;
        }
        if (f->size() != columns.size()) {
            file.records.push_back(refused(start + 1, "Die Zeile hat " + std::to_string(f->size()) + " Felder, die Kopfzeile nennt " +
                                                         std::to_string(columns.size()) + "."));
            continue;
        }
        RawRecord raw;
        raw.line = start + 1;
        std::string zone, latitude, longitude;
        for (std::size_t k = 0; k < f->size(); ++k) {
            const std::string& v = (*f)[k];
            switch (columns[k]) {
            case Column::name: raw.name = v; break;
            case Column::first_name: raw.first_name = v; break;
            case Column::date: raw.date = v; break;
            case Column::time: raw.time = v; break;
            case Column::zone: zone = v; break;
            case Column::place: raw.place = v; break;
            case Column::country: raw.country = v; break;
            case Column::region: raw.region = v; break;
            case Column::latitude: latitude = v; break;
            case Column::longitude: longitude = v; break;
            case Column::extra: raw.extra = v; break;
            }
        }
        if (!zone.empty()) {
            std::string why;
            raw.zone = parse_zone(zone, why);
            if (!raw.zone) raw.error = cp1252_to_utf8(why);
        }
        if (!latitude.empty() && !(raw.latitude = csv_coordinate(latitude, 2, 90)))
            raw.error = "Die Breite \"" + latitude + "\" ist keine Koordinate.";
        if (!longitude.empty() && !(raw.longitude = csv_coordinate(longitude, 3, 180)))
            raw.error = "Die L\u00E4nge \"" + longitude + "\" ist keine Koordinate.";
        file.records.push_back(finish(raw, atlas));
    }
    if (file.records.empty()) file.error = cp1252_to_utf8(texts::kRefuseNoRecord);
    return file;
}

std::vector<ImportedRecord> read_csv(std::string_view bytes, const Atlas* atlas)
{
    ExchangeFile file = read_csv_file(bytes, atlas);
    if (!file.error.empty()) file.records.insert(file.records.begin(), refused(1, file.error));
    return std::move(file.records);
}

ExchangeFile read_exchange(std::string_view bytes, const Atlas* atlas)
{
    return looks_like_aaf(bytes) ? read_aaf_file(bytes, atlas) : read_csv_file(bytes, atlas);
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

/// A name field of AAF: no commas (they separate the fields), "*" when empty, and a field of
/// stars only with one star more ("*" as "**"), which aaf_field takes off again.
std::string aaf_text(std::string text)
{
    for (char& c : text)
        if (c == ',' || c == '\r' || c == '\n') c = ' ';
    if (trim(text).empty()) return "*";
    return text.find_first_not_of('*') == std::string::npos ? "*" + text : text;
}

}  // namespace

namespace {

/// The universal time of a record as the chart computation reads it: its Julian day of 0h plus the
/// time of day, back in the chart calendar (31.02.1990 is 03.03.1990; 05.01.1582 stays, the same
/// day as 26.12.1581); nothing outside the years 1-9999.
std::optional<CivilTime> computed_universal_time(const chart_record& record)
{
    const BirthData birth = werte_aktual(record);
    StdHoValues values;
    f_rechnen(birth, values);
    return from_julian_day(values.jd0 + birth.birth_time / 24.0,
                           CivilTime{birth.birth_year, birth.birth_month, birth.birth_day, 0, 0, 0});
}

}  // namespace

std::optional<std::string> aaf_refusal(const chart_record& record)
{
    for (const std::string* field : {&record.name, &record.first_name, &record.extra})
        if (field->find(',') != std::string::npos)
            return "\"" + cp1252_to_utf8(*field) + "\" enth\u00E4lt ein Komma, das AAF als Feldgrenze liest.";
    // The reader takes a line that is valid UTF-8 as UTF-8: Windows-1252 text such as "\xC3\xBC"
    // would come back as another name.
    const std::string texts = record.name + "," + record.first_name + "," + record.extra;  // as in #A93
    const bool high = std::any_of(texts.begin(), texts.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (high && valid_utf8(texts) == texts)
        return "\"" + cp1252_to_utf8(record.name) + "\" w\u00FCrde aus AAF als UTF-8 zur\u00FCckgelesen.";
    if (!computed_universal_time(record))
        return std::string("Datum und Zeit liegen f\u00FCr die Berechnung au\u00DFerhalb der Jahre 1 bis 9999.");
    const BirthData birth = werte_aktual(record);
    if (!(std::fabs(birth.geo_longitude) <= 180) || !(std::fabs(birth.geo_latitude) <= 90))
        return std::string("Die Koordinaten liegen au\u00DFerhalb von 180\u00B0 L\u00E4nge und 90\u00B0 Breite.");
    return std::nullopt;
}

std::optional<std::string> reading_note(const chart_record& record)
{
    std::string note;
    const auto ut = computed_universal_time(record);
    if (!date_field(record.date) || !time_field(record.time) || (ut && civil_time_text(*ut) != record.date + " " + record.time))
        note = "\"" + valid_utf8(cp1252_to_utf8(record.date)) + " " + valid_utf8(cp1252_to_utf8(record.time)) +
               "\" ist kein echtes Datum mit Uhrzeit; die Berechnung liest " +
               (ut ? civil_time_text(*ut) : std::string("eine Zeit au\u00DFerhalb der Jahre 1 bis 9999")) + ".";
    const BirthData birth = werte_aktual(record);
    const auto coordinate = [&](const std::string& field, int digits, int limit, double read, const char* what) {
        if (coordinate_field(field, digits, limit) == field) return;
        char degrees[64];
        std::snprintf(degrees, sizeof degrees, "%.4f", read);
        std::string shown(degrees);
        for (char& c : shown)
            if (c == '.') c = ',';
        if (!note.empty()) note += " ";
        note += std::string(what) + " \"" + valid_utf8(cp1252_to_utf8(field)) + "\" ist keine Koordinate; die Berechnung liest " + shown + "\u00B0.";
    };
    coordinate(record.longitude_text, 3, 180, birth.geo_longitude, "Die L\u00E4nge");
    coordinate(record.latitude_text, 2, 90, birth.geo_latitude, "Die Breite");
    if (note.empty()) return std::nullopt;
    return note;
}

std::optional<std::string> aaf_note(const chart_record& record) { return reading_note(record); }

std::string write_aaf(const std::vector<chart_record>& records)
{
    std::string out;
    for (const chart_record& r : records) {
        const ChartData d = chart_data_of(r);
        const CivilTime ut = computed_universal_time(r).value_or(d.ut);
        char jd[64];
        const auto [end, ec] = std::to_chars(jd, jd + sizeof jd, julian_day(ut), std::chars_format::fixed, 6);
        const std::string when = civil_time_text(ut);
        out += "#A93:" + aaf_text(r.name) + "," + aaf_text(r.first_name) + ",*," + when.substr(0, 10) + "," +
               when.substr(11) + "," + aaf_text(r.extra) + ",*\r\n";
        out += "#B93:" + std::string(jd, ec == std::errc() ? end : jd) + "," + aaf_coordinate_text(d.latitude, 'n', 's') +
               "," + aaf_coordinate_text(d.longitude, 'e', 'w') + ",0he00,0\r\n";
    }
    return out;
}

}  // namespace duoskop
