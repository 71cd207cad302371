// SPDX-License-Identifier: GPL-3.0-or-later
// new-chart: writes the 77-byte chart file of one person from the command line, for users
// without the companion chart program. Every field is checked before anything is written.
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "birth/chart_input.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "places/atlas.h"

namespace duoskop::cli {

namespace {

int refuse(const std::string& why)
{
    std::fprintf(stderr, "duoskop-cli new-chart: %s; nichts geschrieben\n", why.c_str());
    return 1;
}

/// A text field in Windows-1252, at most 10 characters.
std::optional<std::string> text_field(const std::string& utf8, const char* what, std::string& why)
{
    const auto text = utf8_to_cp1252(utf8);
    if (!text) {
        why = std::string(what) + " \"" + utf8 + "\" enth\u00E4lt Zeichen au\u00DFerhalb von Windows-1252";
        return std::nullopt;
    }
    if (text->size() > chart_field_capacity) {
        why = std::string(what) + " \"" + utf8 + "\" ist l\u00E4nger als 10 Zeichen";
        return std::nullopt;
    }
    return text;
}

/// A German reason (UTF-8) for refusing the data.
int refuse_german(const std::string& why)
{
    std::fprintf(stderr, "duoskop-cli new-chart: %s Nichts geschrieben.\n", why.c_str());
    return 1;
}

int usage_error(const char* why)
{
    std::fprintf(stderr, "duoskop-cli new-chart: %s\n", why);
    return usage("new-chart");
}

}  // namespace

int cmd_new_chart(const Args& args)
{
    std::optional<std::string> file, name, first_name, date, time, longitude, latitude, extra, local_time, zone,
        place_name, country, ambiguous;
    bool force = false, unknown_time = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* option = a == "--name"         ? &name
                                             : a == "--first-name" ? &first_name
                                             : a == "--date"       ? &date
                                             : a == "--time"       ? &time
                                             : a == "--longitude"  ? &longitude
                                             : a == "--latitude"   ? &latitude
                                             : a == "--extra"      ? &extra
                                             : a == "--local-time" ? &local_time
                                             : a == "--zone"       ? &zone
                                             : a == "--place"      ? &place_name
                                             : a == "--country"    ? &country
                                             : a == "--ambiguous"  ? &ambiguous
                                                                   : nullptr;
        if (option != nullptr) {
            if (i + 1 >= args.size() || option->has_value()) return usage("new-chart");
            *option = args[++i];
        } else if (a == "--force") {
            force = true;
        } else if (a == "--unknown-time") {
            unknown_time = true;
        } else if (a.starts_with("--") || file) {
            return usage("new-chart");
        } else {
            file = a;
        }
    }
    if (!file || !name || !first_name || !date) return usage("new-chart");
    if (time.has_value() + local_time.has_value() + unknown_time != 1)
        return usage_error("genau eine von --time, --local-time und --unknown-time");
    if (local_time && !zone && !place_name) return usage_error("--local-time braucht --zone oder --place");
    if (!place_name && (!longitude || !latitude)) return usage_error("--longitude und --latitude oder --place");
    if (country && !place_name) return usage_error("--country geh\u00F6rt zu --place");
    if (ambiguous && *ambiguous != "earlier" && *ambiguous != "later")
        return usage_error("--ambiguous nimmt earlier oder later");
    if (ambiguous && !local_time) return usage_error("--ambiguous geh\u00F6rt zu --local-time");

    std::optional<Place> place;
    if (place_name) {
        std::optional<std::string> iso;
        if (country && !(iso = country_code(*country)))
            return refuse_german("Das Land \"" + *country + "\" ist weder ein ISO- noch ein Kfz-Kennzeichen.");
        const auto atlas = open_atlas("new-chart");
        if (!atlas) return 1;
        const auto found = atlas->search(*place_name, 1, iso.value_or(""));
        if (found.empty())
            return refuse_german("Kein Ort im Atlas passt zu \"" + *place_name + "\"" +
                                 (iso ? " im Land " + *iso : std::string()) + ".");
        place = found.front();
    }

    std::string why;
    chart_record record;
    const auto n = text_field(*name, "der Name", why);
    const auto f = text_field(*first_name, "der Vorname", why);
    const auto x = extra || !place ? text_field(extra.value_or(""), "das Zusatzfeld", why)
                                   : std::optional<std::string>(chart_text(place->name));
    if (!n || !f || !x) return refuse(why);
    record.name = *n;
    record.first_name = *f;
    record.extra = *x;

    const auto d = date_field(*date);
    if (!d) return refuse("das Datum \"" + *date + "\" ist kein Datum TT.MM.JJJJ zwischen 0001 und 9999");
    if (place && !longitude) longitude = decimal_text(place->longitude, 6);
    if (place && !latitude) latitude = decimal_text(place->latitude, 6);

    std::optional<std::string> t;
    std::string report;
    if (time) {
        t = time_field(*time);
        if (!t) return refuse("die Zeit \"" + *time + "\" ist keine Uhrzeit HH:MM:SS");
    } else if (unknown_time) {
        t = "12:00:00";
    } else {
        const auto local = parse_clock(*local_time, *parse_date(*d));
        if (!local) return refuse("die Ortszeit \"" + *local_time + "\" ist keine Uhrzeit HH:MM[:SS]");
        std::string zone_error;
        const auto rule = parse_zone(zone.value_or(place ? place->zone : std::string()), zone_error);
        if (!rule) return refuse_german(cp1252_to_utf8(zone_error));
        const auto lon_field = coordinate_field(*longitude, 3, 180);
        const double lon_degrees = lon_field ? werte_aktual({"", "", "", "", "", *lon_field, "+00 00 00"}).geo_longitude : 0;
        if (!lon_field && rule->kind == ZoneRule::Kind::lmt) return refuse("LMT braucht eine g\u00FCltige L\u00E4nge (--longitude)");
        const Conversion converted = to_universal(*local, *rule, lon_degrees,
                                                  !ambiguous                ? Ambiguous::refuse
                                                  : *ambiguous == "earlier" ? Ambiguous::earlier
                                                                            : Ambiguous::later);
        if (!converted.time) return refuse_german(cp1252_to_utf8(converted.error));
        const std::string ut = civil_time_text(converted.time->ut);
        record.date = ut.substr(0, 10);
        t = ut.substr(11);
        report = "Ortszeit " + civil_time_text(*local) + " " + converted.time->abbreviation + " (" +
                 offset_text(converted.time->offset_seconds) + ") = Weltzeit " + ut;
    }
    const auto lon = coordinate_field(*longitude, 3, 180);
    if (!lon)
        return refuse("die L\u00E4nge \"" + *longitude +
                      "\" ist weder wie +008 30 00 noch in Grad geschrieben oder liegt \u00FCber 180 Grad");
    const auto lat = coordinate_field(*latitude, 2, 90);
    if (!lat)
        return refuse("die Breite \"" + *latitude +
                      "\" ist weder wie +53 33 00 noch in Grad geschrieben oder liegt \u00FCber 90 Grad");
    if (record.date.empty()) record.date = *d;
    record.time = *t;
    record.longitude_text = *lon;
    record.latitude_text = *lat;

    // The program loads the file only when its name up to the first '.' matches the name field.
    const std::string base = file->substr(file->rfind('/') == std::string::npos ? 0 : file->rfind('/') + 1);
    const auto base_ansi = utf8_to_cp1252(base);
    if (base.empty() || !base_ansi || !name_check(*base_ansi, record))
        return refuse("der Dateiname \"" + base + "\" passt nicht zum Namen \"" + *name +
                      "\" (sein Teil vor dem ersten '.' muss dem Anfang des Namens gleichen, "
                      "Buchstaben a-z in beliebiger Schreibung, Umlaute und andere Zeichen genau)");

    // Never replace an existing chart file unless asked to; a failed write leaves no torn file.
    const WriteResult written =
        write_file_whole(*file, chart_record_bytes(record), force ? Replace::allowed : Replace::refused);
    if (written.error == EEXIST && !force)
        return refuse("\"" + valid_utf8(*file) + "\" gibt es schon (--force ersetzt die Datei)");
    if (!written.ok()) {
        std::fprintf(stderr, "duoskop-cli new-chart: %s: %s\n", valid_utf8(*file).c_str(),
                     terminal_text(written.message()).c_str());
        return 1;
    }
    if (!report.empty())
        std::printf("%s, L\u00E4nge %s, Breite %s\n", cp1252_to_utf8(report).c_str(), record.longitude_text.c_str(),
                    record.latitude_text.c_str());
    return 0;
}

}  // namespace duoskop::cli
