// SPDX-License-Identifier: GPL-3.0-or-later
#include "birth/intake.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "birth/birth_texts.h"
#include "birth/chart_input.h"

namespace duoskop {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool unknown(std::string_view field) { return trimmed(field).empty() || trimmed(field) == "*"; }

/// The characters of a UTF-8 text that Windows-1252 cannot hold, as UTF-8, each once.
std::string foreign_characters(std::string_view text)
{
    std::string foreign;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start + 1;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        const std::string_view piece = text.substr(start, end - start);
        if (!utf8_to_cp1252(piece)) {
            const std::string shown = valid_utf8(piece);
            if (foreign.find(shown) == std::string::npos) foreign += shown;
        }
        start = end;
    }
    return foreign;
}

std::string decimal(double value)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

std::string u8(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

std::string quoted_text(std::string_view utf8) { return "\"" + valid_utf8(trimmed(utf8)) + "\""; }

/// The place of `input` in the atlas, or the reason (Windows-1252) in `refusal`.
std::optional<Place> find_place(const BirthInput& input, const Atlas* atlas, std::string& refusal,
                                std::vector<Place>& candidates)
{
    if (unknown(input.place)) {
        refusal = u8(texts::kRefuseNoPlace);
        return std::nullopt;
    }
    const std::string place_words = "Der Ort " + quoted_text(input.place);
    if (atlas == nullptr) {
        refusal = place_words + u8(texts::kRefuseNoAtlas);
        return std::nullopt;
    }
    std::optional<std::string> iso;
    if (!unknown(input.country) && !(iso = country_code(input.country))) {
        refusal = "Das Land " + quoted_text(input.country) + u8(texts::kRefuseCountry);
        return std::nullopt;
    }
    // The tiers of the atlas decide, a qualifier included ("Kandel/Pfalz", "Bergen (Rügen)").
    const PlaceMatch found = atlas->match(trimmed(input.place), iso.value_or(""), input.region);
    if (found.places.empty()) {
        refusal = place_words + (iso ? " (" + *iso + ")" : std::string()) +
                  (trimmed(input.region).empty() ? std::string() : " in " + quoted_text(input.region)) +
                  u8(texts::kRefuseNotInAtlas);
        return std::nullopt;
    }
    if (found.ambiguous) {
        refusal = place_words + u8(texts::kRefuseAmbiguous);
        for (std::size_t i = 0; i < found.places.size() && i < 5; ++i) {
            candidates.push_back(found.places[i]);
            refusal += (i == 0 ? "" : "; ") + candidate_text(found.places[i]);
        }
        if (found.places.size() > 5) refusal += "; \u2026";
        return std::nullopt;
    }
    return found.places.front();
}

}  // namespace

bool IntakeResult::ok() const
{
    for (const std::string& r : refusals)
        if (!r.empty()) return false;
    return true;
}

std::string IntakeResult::reasons() const
{
    static constexpr std::string_view names[] = {texts::kIntakeFieldName, texts::kIntakeFieldFirstName, texts::kIntakeFieldDate,
                                                 texts::kIntakeFieldTime, texts::kIntakeFieldZone,      texts::kIntakeFieldPlace,
                                                 texts::kIntakeFieldCoordinates, texts::kIntakeFieldExtra};
    static_assert(std::size(names) == intake_field_count);
    std::string text;
    for (std::size_t i = 0; i < intake_field_count; ++i) {
        if (refusals[i].empty()) continue;
        if (!text.empty()) text += " ";
        text += u8(names[i]) + ": " + refusals[i];
    }
    return text;
}

std::optional<std::string> chart_text_field(std::string_view utf8, std::string& refusal)
{
    const std::string_view text = trimmed(utf8);
    const auto bytes = utf8_to_cp1252(text);
    if (!bytes) {
        refusal = u8(texts::kRefuseNot1252) + foreign_characters(text);
        return std::nullopt;
    }
    for (const char c : *bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            refusal = u8(texts::kRefuseControl);
            return std::nullopt;
        }
    }
    if (bytes->size() > chart_field_capacity) {
        refusal = u8(texts::kRefuseTooLong);
        return std::nullopt;
    }
    return *bytes;
}

std::optional<std::string> file_name_refusal(std::string_view name_cp1252)
{
    if (name_cp1252.empty()) return u8(texts::kRefuseNoName);
    if (name_cp1252.find('/') != std::string_view::npos) return u8(texts::kRefuseSlash);
    if (name_cp1252[0] == '.') return u8(texts::kRefuseLeadingDot);
    for (const char c : name_cp1252)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return u8(texts::kRefuseControl);
    return std::nullopt;
}

std::string chart_file_name(std::string_view name_cp1252)
{
    std::string name(name_cp1252);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return cp1252_to_utf8(name) + ".dat";
}

std::string case_twin_key(std::string_view file_name)
{
    const auto bytes = utf8_to_cp1252(file_name);
    std::string key = bytes.value_or(std::string(file_name));
    for (char& c : key) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (bytes && b >= 0xE0 && b <= 0xFE && b != 0xF7)) c = static_cast<char>(b - 0x20);
        else if (bytes && (b == 0x9A || b == 0x9C || b == 0x9E)) c = static_cast<char>(b - 0x10);  // s, oe, z with caron
        else if (bytes && b == 0xFF) c = '\x9F';  // y with diaeresis
    }
    return key;
}

FolderNames::FolderNames(std::filesystem::path dir) : dir_(std::move(dir))
{
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(dir_.empty() ? "." : dir_, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        add(it->path());
}

void FolderNames::add(const std::filesystem::path& file)
{
    by_key_.emplace(case_twin_key(file.filename().string()), file);
}

std::optional<std::filesystem::path> FolderNames::twin(std::string_view file_name,
                                                       const std::optional<std::filesystem::path>& except) const
{
    const auto [first, last] = by_key_.equal_range(case_twin_key(file_name));
    for (auto it = first; it != last; ++it) {
        std::error_code same_error;
        if (except && std::filesystem::equivalent(it->second, *except, same_error)) continue;
        return it->second;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> case_twin(const std::filesystem::path& dir, std::string_view file_name,
                                               const std::optional<std::filesystem::path>& except)
{
    return FolderNames(dir).twin(file_name, except);
}

std::string candidate_text(const Place& place)
{
    std::string text = valid_utf8(place.name);
    if (!place.region.empty()) text += ", " + valid_utf8(place.region);
    text += ", " + place.country + " (" + decimal(place.latitude) + ", " + decimal(place.longitude) + ")";
    if (place.population > 0) text += ", " + std::to_string(place.population) + " Einw.";
    return text;
}

IntakeResult make_chart(const BirthInput& input, const IntakeContext& context)
{
    IntakeResult r;
    const auto refusal = [&r](IntakeField f) -> std::string& { return r.refusals[static_cast<std::size_t>(f)]; };

    // Texts: the name is also the file name.
    if (const auto name = chart_text_field(input.name, refusal(IntakeField::name))) {
        r.record.name = *name;
        if (auto why = file_name_refusal(*name)) refusal(IntakeField::name) = std::move(*why);
    }
    if (const auto first = chart_text_field(input.first_name, refusal(IntakeField::first_name)))
        r.record.first_name = *first;
    if (!trimmed(input.extra).empty()) {
        if (const auto extra = chart_text_field(input.extra, refusal(IntakeField::extra))) r.record.extra = *extra;
    } else if (!unknown(input.place)) {
        r.record.extra = chart_text(trimmed(input.place));  // the place as the user spelt it, cut to the field
        if (!utf8_to_cp1252(trimmed(input.place)))
            r.extra_note = u8(texts::kExtraPlain1) + quoted_text(u8(r.record.extra)) + u8(texts::kExtraPlain2) +
                           quoted_text(input.place) + u8(texts::kExtraPlain3);
        // A control character in the place would stand in the chart's Zusatz: refused as in a typed one.
        for (const char c : r.record.extra)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) refusal(IntakeField::extra) = u8(texts::kRefuseControl);
    }

    // The place, where the zone or the coordinates must come from it.
    const bool converts = !input.julian_day && !input.time_unknown && input.local_time;
    const bool needs_place =
        !input.longitude || !input.latitude || (converts && !input.zone_rule && trimmed(input.zone).empty());
    if (needs_place) r.place = find_place(input, context.atlas, refusal(IntakeField::place), r.candidates);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double longitude = input.longitude.value_or(r.place ? r.place->longitude : nan);
    const double latitude = input.latitude.value_or(r.place ? r.place->latitude : nan);
    const bool coordinates_known = !std::isnan(longitude) && !std::isnan(latitude);
    const auto lon = coordinate_text(longitude, 3, 180);
    const auto lat = coordinate_text(latitude, 2, 90);
    if (coordinates_known && (!lon || !lat)) refusal(IntakeField::coordinates) = u8(texts::kRefuseCoordinates);

    // Date and time: universal time for the record.
    std::optional<CivilTime> ut;
    if (input.julian_day) {
        // A date typed beside the Julian day as one of 01.-10.01.1582 keeps its 1582 name.
        const auto typed = parse_date(trimmed(input.date));
        ut = typed ? from_julian_day(*input.julian_day, *typed) : from_julian_day(*input.julian_day);
        if (!ut) refusal(IntakeField::date) = u8(texts::kRefuseJulianDay);
    } else {
        const auto date = parse_date(trimmed(input.date));
        if (!date) refusal(IntakeField::date) = u8(date_refusal(trimmed(input.date)));
        std::optional<CivilTime> clock;
        if (input.time_unknown) clock = CivilTime{0, 0, 0, unknown_time_of_day.hour, 0, 0};
        else if (!(clock = parse_clock(trimmed(input.time)))) refusal(IntakeField::time) = u8(texts::kRefuseTime);
        if (date && clock) {
            CivilTime local = *date;
            local.hour = clock->hour;
            local.minute = clock->minute;
            local.second = clock->second;
            ut = local;
            if (converts) {
                ut.reset();
                std::string zone_error;
                std::optional<ZoneRule> zone;
                if (input.zone_rule) {
                    zone = input.zone_rule;
                } else if (!trimmed(input.zone).empty()) {
                    if (!(zone = parse_zone(input.zone, zone_error))) refusal(IntakeField::zone) = u8(zone_error);
                } else if (r.place) {
                    if (!(zone = parse_zone(r.place->zone, zone_error))) refusal(IntakeField::zone) = u8(zone_error);
                } else if (refusal(IntakeField::place).empty()) {
                    refusal(IntakeField::zone) = u8(texts::kRefuseNoZone);
                }
                if (zone) {
                    const Conversion earlier = to_universal(local, *zone, longitude, Ambiguous::earlier);
                    const Conversion later = to_universal(local, *zone, longitude, Ambiguous::later);
                    if (earlier.time && later.time && earlier.time->offset_seconds != later.time->offset_seconds) {
                        r.twice = true;
                        r.earlier = *earlier.time;
                        r.later = *later.time;
                    }
                    const Conversion read = to_universal(local, *zone, longitude, input.reading);
                    if (!read.time) {
                        refusal(IntakeField::time) = u8(read.error);
                    } else if (!valid_civil_time(read.time->ut)) {
                        refusal(IntakeField::date) = u8(texts::kRefuseUniversalYear);
                    } else {
                        ut = read.time->ut;
                        r.universal = read.time;
                    }
                }
            }
        }
    }
    if (ut) {
        const std::string when = civil_time_text(*ut);
        r.record.date = when.substr(0, 10);
        r.record.time = when.substr(11);
    }
    if (lon && lat) {
        r.record.longitude_text = *lon;
        r.record.latitude_text = *lat;
    }
    if (refusal(IntakeField::name).empty()) r.file_name = chart_file_name(r.record.name);
    return r;
}

}  // namespace duoskop
