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
#include "cli/cli.h"

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

}  // namespace

int cmd_new_chart(const Args& args)
{
    std::optional<std::string> file, name, first_name, date, time, longitude, latitude, extra;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::optional<std::string>* option = a == "--name"         ? &name
                                             : a == "--first-name" ? &first_name
                                             : a == "--date"       ? &date
                                             : a == "--time"       ? &time
                                             : a == "--longitude"  ? &longitude
                                             : a == "--latitude"   ? &latitude
                                             : a == "--extra"      ? &extra
                                                                   : nullptr;
        if (option != nullptr) {
            if (i + 1 >= args.size() || option->has_value()) return usage("new-chart");
            *option = args[++i];
        } else if (a == "--force") {
            force = true;
        } else if (a.starts_with("--") || file) {
            return usage("new-chart");
        } else {
            file = a;
        }
    }
    if (!file || !name || !first_name || !date || !time || !longitude || !latitude) return usage("new-chart");

    std::string why;
    chart_record record;
    const auto n = text_field(*name, "der Name", why);
    const auto f = text_field(*first_name, "der Vorname", why);
    const auto x = text_field(extra.value_or(""), "das Zusatzfeld", why);
    if (!n || !f || !x) return refuse(why);
    record.name = *n;
    record.first_name = *f;
    record.extra = *x;

    const auto d = date_field(*date);
    if (!d) return refuse("das Datum \"" + *date + "\" ist kein Datum TT.MM.JJJJ zwischen 0001 und 9999");
    const auto t = time_field(*time);
    if (!t) return refuse("die Zeit \"" + *time + "\" ist keine Uhrzeit HH:MM:SS");
    const auto lon = coordinate_field(*longitude, 3, 180);
    if (!lon)
        return refuse("die L\u00E4nge \"" + *longitude +
                      "\" ist weder wie +008 30 00 noch in Grad geschrieben oder liegt \u00FCber 180 Grad");
    const auto lat = coordinate_field(*latitude, 2, 90);
    if (!lat)
        return refuse("die Breite \"" + *latitude +
                      "\" ist weder wie +53 33 00 noch in Grad geschrieben oder liegt \u00FCber 90 Grad");
    record.date = *d;
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
    return 0;
}

}  // namespace duoskop::cli
