// SPDX-License-Identifier: GPL-3.0-or-later
// new-chart: writes the 77-byte chart file of one person from the command line, for users
// without the companion chart program. Every field is checked before anything is written.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "birth/chart_input.h"
#include "birth/intake.h"
#include "birth/local_time.h"
#include "cli/cli.h"
#include "cli/options.h"
#include "places/atlas.h"

namespace duoskop::cli {

namespace {

int refuse(const std::string& why)
{
    std::fprintf(stderr, "duoskop-cli new-chart: %s; nichts geschrieben\n", why.c_str());
    return 1;
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

constexpr OptionRule new_chart_rule_table[] = {
    {"--name", 1, false},      {"--first-name", 1, false}, {"--date", 1, false},   {"--time", 1, false},
    {"--longitude", 1, false}, {"--latitude", 1, false},   {"--extra", 1, false},  {"--local-time", 1, false},
    {"--zone", 1, false},      {"--place", 1, false},      {"--country", 1, false}, {"--ambiguous", 1, false},
    {"--region", 1, false},    {"--force"},                {"--unknown-time"},
};
constinit const std::span<const OptionRule> new_chart_rules = new_chart_rule_table;

int cmd_new_chart(const Args& args)
{
    const ReadOptions o = read_options(args, new_chart_rules);
    if (!o.ok() || o.positionals.size() > 1) return usage("new-chart");
    const std::optional<std::string> file =
        o.positionals.empty() ? std::nullopt : std::optional<std::string>(o.positionals.front());
    const std::optional<std::string> name = o.value("--name"), first_name = o.value("--first-name"),
                                     date = o.value("--date"), time = o.value("--time"),
                                     longitude = o.value("--longitude"), latitude = o.value("--latitude"),
                                     extra = o.value("--extra"), local_time = o.value("--local-time"),
                                     zone = o.value("--zone"), place_name = o.value("--place"),
                                     country = o.value("--country"), region = o.value("--region"),
                                     ambiguous = o.value("--ambiguous");
    const bool force = o.has("--force"), unknown_time = o.has("--unknown-time");
    if (!file || !name || !first_name || !date) return usage("new-chart");
    if (time.has_value() + local_time.has_value() + unknown_time != 1)
        return usage_error("genau eine von --time, --local-time und --unknown-time");
    if (local_time && !zone && !place_name) return usage_error("--local-time braucht --zone oder --place");
    // --time is universal time and --unknown-time writes 12:00:00 as it is: a zone beside them
    // would change nothing and so is a wrong call, not a zone silently left aside.
    if (zone && !local_time) return usage_error("--zone geh\u00F6rt zu --local-time (--time ist schon Weltzeit)");
    if (!place_name && (!longitude || !latitude)) return usage_error("--longitude und --latitude oder --place");
    if (country && !place_name) return usage_error("--country geh\u00F6rt zu --place");
    if (region && !place_name) return usage_error("--region geh\u00F6rt zu --place");
    if (ambiguous && *ambiguous != "earlier" && *ambiguous != "later")
        return usage_error("--ambiguous nimmt earlier oder later");
    if (ambiguous && !local_time) return usage_error("--ambiguous geh\u00F6rt zu --local-time");

    // Coordinates as typed: "+008 30 00" or degrees.
    const auto degrees_of = [](const std::string& text, int digits, int limit) -> std::optional<double> {
        const auto field = coordinate_field(text, digits, limit);
        if (!field) return std::nullopt;
        const BirthData b = werte_aktual(digits == 3 ? chart_record{"", "", "", "", "", *field, "+00 00 00"}
                                                     : chart_record{"", "", "", "", "", "+000 00 00", *field});
        return digits == 3 ? b.geo_longitude : b.geo_latitude;
    };
    BirthInput input;
    if (longitude && !(input.longitude = degrees_of(*longitude, 3, 180)))
        return refuse("die L\u00E4nge \"" + *longitude +
                      "\" ist weder wie +008 30 00 noch in Grad geschrieben oder liegt \u00FCber 180 Grad");
    if (latitude && !(input.latitude = degrees_of(*latitude, 2, 90)))
        return refuse("die Breite \"" + *latitude +
                      "\" ist weder wie +53 33 00 noch in Grad geschrieben oder liegt \u00FCber 90 Grad");
    input.name = *name;
    input.first_name = *first_name;
    input.extra = extra.value_or("");
    input.date = *date;
    input.time = time ? *time : local_time.value_or("");
    input.time_unknown = unknown_time;
    input.local_time = local_time.has_value();
    input.zone = zone.value_or("");
    input.reading = !ambiguous ? Ambiguous::refuse : *ambiguous == "earlier" ? Ambiguous::earlier : Ambiguous::later;
    input.place = place_name.value_or("");
    input.country = country.value_or("");
    input.region = region.value_or("");
    std::optional<Atlas> atlas;
    if (place_name && !(atlas = open_atlas("new-chart"))) return 1;
    const IntakeResult made = make_chart(input, IntakeContext{atlas ? &*atlas : nullptr});
    if (!made.ok()) return refuse_german(made.reasons());
    const chart_record& record = made.record;

    std::string report;
    if (made.universal) {
        const UniversalTime& u = *made.universal;
        const CivilTime local = *parse_clock(*local_time, *parse_date(*date));
        const std::string zone_time = u.abbreviation == "LMT"
                                          ? "LMT (L\u00E4nge " + record.longitude_text + ", " + offset_text(u.offset_seconds) + ")"
                                          : cp1252_to_utf8(u.abbreviation) + " (" + offset_text(u.offset_seconds) + ")";
        report = "Ortszeit " + civil_time_text(local) + " " + zone_time + " = Weltzeit " + record.date + " " + record.time;
    }

    // The program loads the file only when its name up to the first '.' matches the name field.
    const std::string base = file->substr(file->rfind('/') == std::string::npos ? 0 : file->rfind('/') + 1);
    const auto base_ansi = utf8_to_cp1252(base);
    if (base.empty() || !base_ansi || !name_check(*base_ansi, record))
        return refuse("der Dateiname \"" + base + "\" passt nicht zum Namen \"" + *name +
                      "\" (sein Teil vor dem ersten '.' muss dem Anfang des Namens gleichen, "
                      "Buchstaben a-z in beliebiger Schreibung, Umlaute und andere Zeichen genau)");

    // Drive C does not tell MEIER.dat from Meier.dat: a file whose name differs only in case is
    // another person's, never written beside it.
    const std::filesystem::path target(*file);
    std::error_code exists_error;
    const bool exists = std::filesystem::exists(target, exists_error);
    if (const auto twin = case_twin(target.parent_path(), target.filename().string(),
                                    exists ? std::optional<std::filesystem::path>(target) : std::nullopt))
        return refuse("\"" + valid_utf8(twin->string()) +
                      "\" gibt es schon; ein Name, der sich nur in Gro\u00DF- und Kleinschreibung unterscheidet, "
                      "bezeichnet dieselbe Datei");

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
    if (!made.extra_note.empty()) std::fprintf(stderr, "duoskop-cli new-chart: %s\n", made.extra_note.c_str());
    if (made.place) std::printf("Ort: %s\n", candidate_text(*made.place).c_str());
    if (!report.empty())
        std::printf("%s, L\u00E4nge %s, Breite %s\n", report.c_str(), record.longitude_text.c_str(),
                    record.latitude_text.c_str());
    return 0;
}

}  // namespace duoskop::cli
