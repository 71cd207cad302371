// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/draft.h"

#include <cerrno>
#include <cmath>
#include <vector>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "kartei/kartei_texts.h"
#include "kartei/listing.h"

namespace duoskop {

namespace {

std::string utf8(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The characters of a UTF-8 text that Windows-1252 cannot hold, as UTF-8, each once.
std::string foreign_characters(std::string_view text)
{
    std::string foreign;
    std::size_t start = 0;
    while (start < text.size()) {
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

// A text field of the record: Windows-1252, at most 10 characters, no control characters.
std::string text_field(std::string_view typed, std::string& refusal)
{
    const std::string_view text = trimmed(typed);
    const auto bytes = utf8_to_cp1252(text);
    if (!bytes) {
        refusal = utf8(texts::kRefuseNot1252) + foreign_characters(text);
        return {};
    }
    for (const char c : *bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            refusal = utf8(texts::kRefuseControl);
            return {};
        }
    }
    if (bytes->size() > chart_field_capacity) {
        refusal = utf8(texts::kRefuseTooLong);
        return {};
    }
    return *bytes;
}

// A coordinate as the record holds it ("+016 22 00"), or a refusal.
std::string coordinate(const DegreesMinutes& c, int degree_digits, int limit, std::string_view too_far,
                       std::string& refusal)
{
    if (c.minutes < 0 || c.minutes > 59 || c.seconds < 0 || c.seconds > 59 || c.degrees < 0) {
        refusal = utf8(texts::kRefuseMinutes);
        return {};
    }
    if (c.degrees > limit || (c.degrees == limit && (c.minutes != 0 || c.seconds != 0))) {
        refusal = utf8(too_far);
        return {};
    }
    const std::string typed = std::string(c.negative ? "-" : "+") + std::to_string(c.degrees) + " " +
                              std::to_string(c.minutes) + " " + std::to_string(c.seconds);
    return coordinate_field(typed, degree_digits, limit).value_or("");
}

// The folder split into its parts, or nothing when it would leave the chart folder or be hidden.
std::optional<std::string> folder_field(std::string_view typed)
{
    std::string folder;
    std::size_t start = 0;
    while (start <= typed.size()) {
        std::size_t stop = typed.find('/', start);
        if (stop == std::string_view::npos) stop = typed.size();
        const std::string_view part = trimmed(typed.substr(start, stop - start));
        if (!part.empty()) {
            if (part[0] == '.' || part.find('\0') != std::string_view::npos) return std::nullopt;
            if (!folder.empty()) folder += '/';
            folder += part;
        }
        start = stop + 1;
    }
    return folder;
}

DegreesMinutes degrees_minutes(double value, bool negative)
{
    const long seconds = std::isfinite(value) ? std::lround(std::fabs(value) * 3600) : 0;
    return {static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
            negative};
}

bool same_ascii_case_insensitive(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

SaveResult failed(const std::filesystem::path& path, int error)
{
    SaveResult result;
    result.outcome = SaveResult::Outcome::failed;
    result.path = path;
    result.message = utf8(io_error_text(error));
    return result;
}

SaveResult taken(const std::filesystem::path& path)
{
    SaveResult result;
    result.outcome = SaveResult::Outcome::taken;
    result.path = path;
    result.message = utf8(texts::kRefuseExistsBefore) + valid_utf8(path.filename().string()) +
                     utf8(texts::kRefuseExistsAfter);
    return result;
}

}  // namespace

bool DraftCheck::ok() const
{
    for (const std::string& r : refusals)
        if (!r.empty()) return false;
    return true;
}

DraftCheck check_draft(const ChartDraft& draft)
{
    DraftCheck check;
    const auto refusal = [&check](DraftField f) -> std::string& {
        return check.refusals[static_cast<std::size_t>(f)];
    };

    // The name is also the file name.
    check.record.name = text_field(draft.name, refusal(DraftField::name));
    if (refusal(DraftField::name).empty()) {
        if (auto why = file_name_refusal(check.record.name)) {
            refusal(DraftField::name) = std::move(*why);
            check.record.name.clear();
        }
    }
    check.record.first_name = text_field(draft.first_name, refusal(DraftField::first_name));
    check.record.extra = text_field(draft.extra, refusal(DraftField::extra));

    if (const auto date = date_field(trimmed(draft.date))) check.record.date = *date;
    else refusal(DraftField::date) = utf8(texts::kRefuseDate);

    if (draft.time_unknown) check.record.time = "12:00:00";
    else if (const auto time = time_field(trimmed(draft.time))) check.record.time = *time;
    else refusal(DraftField::time) = utf8(texts::kRefuseTime);

    check.record.longitude_text =
        coordinate(draft.longitude, 3, 180, texts::kRefuseLongitude, refusal(DraftField::longitude));
    check.record.latitude_text =
        coordinate(draft.latitude, 2, 90, texts::kRefuseLatitude, refusal(DraftField::latitude));

    // A known local time becomes universal time; an unknown one keeps its date and 12:00:00.
    if (draft.local_time && !draft.time_unknown) {
        std::string zone_error;
        std::optional<ZoneRule> zone;
        if (trimmed(draft.zone).empty()) refusal(DraftField::zone) = utf8(texts::kRefuseNoZone);
        else if (!(zone = parse_zone(draft.zone, zone_error))) refusal(DraftField::zone) = utf8(zone_error);
        if (zone && !check.record.date.empty() && !check.record.time.empty()) {
            const BirthData typed = werte_aktual(check.record);
            const int seconds = static_cast<int>(std::lround(typed.birth_time * 3600));
            const CivilTime local{typed.birth_year, typed.birth_month, typed.birth_day,
                                  seconds / 3600, seconds / 60 % 60, seconds % 60};
            const double longitude = (draft.longitude.degrees + draft.longitude.minutes / 60.0 +
                                      draft.longitude.seconds / 3600.0) * (draft.longitude.negative ? -1 : 1);
            const Conversion earlier = to_universal(local, *zone, longitude, Ambiguous::earlier);
            const Conversion later = to_universal(local, *zone, longitude, Ambiguous::later);
            if (earlier.time && later.time && earlier.time->offset_seconds != later.time->offset_seconds) {
                check.twice = true;
                check.earlier = *earlier.time;
                check.later = *later.time;
            }
            const Conversion read = to_universal(local, *zone, longitude, draft.reading);
            if (!read.time) {
                refusal(DraftField::time) = utf8(read.error);
                check.record.time.clear();
            } else if (!valid_civil_time(read.time->ut)) {
                refusal(DraftField::date) = utf8(texts::kRefuseUniversalYear);
                check.record.date.clear();
            } else {
                const std::string when = civil_time_text(read.time->ut);
                check.record.date = when.substr(0, 10);
                check.record.time = when.substr(11);
                check.universal = read.time;
            }
        }
    }

    if (const auto folder = folder_field(draft.folder)) check.folder = *folder;
    else refusal(DraftField::folder) = utf8(texts::kRefuseFolder);
    return check;
}

ChartDraft draft_of(const chart_record& record, std::string folder)
{
    const BirthData birth = werte_aktual(record);
    ChartDraft draft;
    draft.name = cp1252_to_utf8(record.name);
    draft.first_name = cp1252_to_utf8(record.first_name);
    draft.date = cp1252_to_utf8(record.date);
    draft.time = cp1252_to_utf8(record.time);
    draft.time_unknown = record.time == "12:00:00";
    draft.extra = cp1252_to_utf8(record.extra);
    draft.longitude = degrees_minutes(birth.geo_longitude, birth.geo_longitude < 0);
    draft.latitude = degrees_minutes(birth.geo_latitude, birth.geo_latitude < 0);
    draft.folder = std::move(folder);
    return draft;
}

ChartPreview chart_preview(const chart_record& record)
{
    const Positions positions = f_rechnen(werte_aktual(record));
    return {record.date + " " + record.time + std::string(texts::kPreviewUt), position_text(positions[2]),
            position_text(positions[0]), position_text(positions[3])};
}

std::optional<std::string> file_name_refusal(std::string_view name_cp1252)
{
    if (name_cp1252.empty()) return utf8(texts::kRefuseNoName);
    if (name_cp1252.find('/') != std::string_view::npos) return utf8(texts::kRefuseSlash);
    if (name_cp1252[0] == '.') return utf8(texts::kRefuseLeadingDot);
    for (const char c : name_cp1252)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return utf8(texts::kRefuseControl);
    return std::nullopt;
}

std::string chart_file_name(std::string_view name_cp1252)
{
    std::string name(name_cp1252);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return cp1252_to_utf8(name) + ".dat";
}

std::filesystem::path planned_file(const std::filesystem::path& root, const chart_record& record,
                                   const std::string& folder, const std::optional<std::filesystem::path>& original)
{
    const std::filesystem::path dir = folder.empty() ? root : root / folder;
    std::error_code error;
    if (original && (original->parent_path() == dir || std::filesystem::equivalent(original->parent_path(), dir, error))) {
        const auto file_name = utf8_to_cp1252(original->filename().string());
        if (file_name && name_check(*file_name, record)) return *original;
    }
    return dir / chart_file_name(record.name);
}

SaveResult save_chart(const std::filesystem::path& root, const chart_record& record, const std::string& folder,
                      const std::optional<std::filesystem::path>& original)
{
    if (auto why = file_name_refusal(record.name)) {
        SaveResult result;
        result.outcome = SaveResult::Outcome::failed;
        result.message = std::move(*why);
        return result;
    }
    const std::filesystem::path dir = folder.empty() ? root : root / folder;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) return failed(dir, error.value());
    const std::string bytes = chart_record_bytes(record);

    // An edit stays in its file while the file's name still fits the person's name.
    const std::filesystem::path target = planned_file(root, record, folder, original);
    if (original && target == *original) {
        const WriteResult written = write_file_whole(*original, bytes, Replace::allowed);
        if (!written.ok()) return failed(*original, written.error);
        SaveResult result;
        result.path = *original;
        return result;
    }

    // A new file. Drive C of the other program does not tell MEIER.dat from Meier.dat: a file of
    // that name in any case belongs to another person, unless it is the one being edited.
    for (auto it = std::filesystem::directory_iterator(dir, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (!same_ascii_case_insensitive(it->path().filename().string(), target.filename().string())) continue;
        std::error_code same_error;
        if (original && std::filesystem::equivalent(it->path(), *original, same_error)) continue;
        return taken(it->path());
    }
    const WriteResult written = write_file_whole(target, bytes, Replace::refused);
    if (written.error == EEXIST) return taken(target);
    if (!written.ok()) return failed(target, written.error);
    SaveResult result;
    result.path = target;
    std::error_code exists_error;
    result.original_left = original && std::filesystem::exists(*original, exists_error);
    return result;
}

}  // namespace duoskop
