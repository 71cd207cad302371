// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/draft.h"

#include <cerrno>
#include <cmath>
#include <vector>

#include "app/chart_fields.h"
#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "base/cp1252.h"
#include "base/drive_c.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "birth/intake.h"
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

    // The coordinates as the dialog types them; the rest goes the one way into chart files.
    const std::string longitude =
        coordinate(draft.longitude, 3, 180, texts::kRefuseLongitude, refusal(DraftField::longitude));
    const std::string latitude =
        coordinate(draft.latitude, 2, 90, texts::kRefuseLatitude, refusal(DraftField::latitude));
    const auto degrees = [](const DegreesMinutes& c) {
        return (c.degrees + c.minutes / 60.0 + c.seconds / 3600.0) * (c.negative ? -1 : 1);
    };
    BirthInput input;
    input.name = draft.name;
    input.first_name = draft.first_name;
    input.extra = draft.extra;
    input.date = draft.date;
    input.time = draft.time;
    input.time_unknown = draft.time_unknown;
    input.local_time = draft.local_time;
    input.zone = draft.zone;
    input.reading = draft.reading;
    input.longitude = degrees(draft.longitude);
    input.latitude = degrees(draft.latitude);
    if (draft.local_time && !draft.time_unknown && trimmed(draft.zone).empty())
        input.zone_rule = ZoneRule{};  // the dialog's own refusal below, not a place search
    IntakeResult made = make_chart(input, IntakeContext{});
    if (draft.local_time && !draft.time_unknown && trimmed(draft.zone).empty()) {
        made.refusals[static_cast<std::size_t>(IntakeField::zone)] = utf8(texts::kRefuseNoZone);
        made.refusals[static_cast<std::size_t>(IntakeField::time)].clear();
        made.record.date.clear();
        made.record.time.clear();
        made.universal.reset();
        made.twice = false;
    }
    const auto take = [&](DraftField to, IntakeField from) {
        if (refusal(to).empty()) refusal(to) = made.refusals[static_cast<std::size_t>(from)];
    };
    take(DraftField::name, IntakeField::name);
    take(DraftField::first_name, IntakeField::first_name);
    take(DraftField::date, IntakeField::date);
    take(DraftField::time, IntakeField::time);
    take(DraftField::zone, IntakeField::zone);
    take(DraftField::extra, IntakeField::extra);
    check.record = made.record;
    if (!made.refusal(IntakeField::name).empty()) check.record.name.clear();
    check.record.longitude_text = longitude;
    check.record.latitude_text = latitude;
    check.universal = made.universal;
    check.twice = made.twice;
    check.earlier = made.earlier;
    check.later = made.later;

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

namespace {

/// Writes the chart file `target`: over `original` when it is the edited file itself, else as a new
/// file that never replaces an existing one nor stands beside its case twin (`twin_of(target)`).
template <typename TwinOf>
SaveResult write_chart(const std::string& bytes, const std::filesystem::path& target,
                       const std::optional<std::filesystem::path>& original, TwinOf twin_of, FolderSync folder_sync)
{
    // An edit stays in its file while the file's name still fits the person's name (planned_file).
    if (original && target == *original) {
        const WriteResult written = write_file_whole(*original, bytes, Replace::allowed, folder_sync);
        if (!written.ok()) return failed(*original, written.error);
        SaveResult result;
        result.path = *original;
        return result;
    }
    // A new file. Drive C of the other program does not tell MEIER.dat from Meier.dat: a file of
    // that name in any case belongs to another person, unless it is the one being edited.
    if (const std::optional<std::filesystem::path> twin = twin_of(target)) return taken(*twin);
    const WriteResult written = write_file_whole(target, bytes, Replace::refused, folder_sync);
    if (written.error == EEXIST) return taken(target);
    if (!written.ok()) return failed(target, written.error);
    SaveResult result;
    result.path = target;
    std::error_code exists_error;
    result.original_left = original && std::filesystem::exists(*original, exists_error);
    return result;
}

SaveResult refused(std::string why)
{
    SaveResult result;
    result.outcome = SaveResult::Outcome::failed;
    result.message = std::move(why);
    return result;
}

}  // namespace

SaveResult save_chart(const std::filesystem::path& root, const chart_record& record, const std::string& folder,
                      const std::optional<std::filesystem::path>& original)
{
    if (in_sample_drive(root)) return refused(cp1252_to_utf8(texts::kSampleDriveRefused));
    if (auto why = file_name_refusal(record.name)) return refused(std::move(*why));
    const std::filesystem::path dir = folder.empty() ? root : root / folder;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) return failed(dir, error.value());
    const auto twin_of = [&](const std::filesystem::path& target) {
        return case_twin(dir, target.filename().string(), original);
    };
    return write_chart(chart_record_bytes(record), planned_file(root, record, folder, original), original, twin_of,
                       FolderSync::each_file);
}

ChartBatch::ChartBatch(std::filesystem::path root, std::string folder)
    : root_(std::move(root)), folder_(std::move(folder)), names_(folder_.empty() ? root_ : root_ / folder_)
{
}

ChartBatch::~ChartBatch() { finish(); }

SaveResult ChartBatch::save(const chart_record& record, bool replace)
{
    if (in_sample_drive(root_)) return refused(cp1252_to_utf8(texts::kSampleDriveRefused));
    if (auto why = file_name_refusal(record.name)) return refused(std::move(*why));
    if (!folder_made_) {
        std::error_code error;
        std::filesystem::create_directories(names_.dir(), error);
        if (error) return failed(names_.dir(), error.value());
        folder_made_ = true;
    }
    // Replacing: the file of that name in any case is the one to write over.
    std::optional<std::filesystem::path> original;
    if (replace) original = names_.twin(chart_file_name(record.name));
    const auto twin_of = [&](const std::filesystem::path& target) {
        return names_.twin(target.filename().string(), original);
    };
    SaveResult saved = write_chart(chart_record_bytes(record), planned_file(root_, record, folder_, original), original,
                                   twin_of, FolderSync::by_caller);
    if (saved.outcome == SaveResult::Outcome::written) {
        if (!original || saved.path != *original) names_.add(saved.path);
        unsynced_ = true;
    }
    return saved;
}

int ChartBatch::finish()
{
    if (!unsynced_) return 0;
    sync_folder(names_.dir());
    unsynced_ = false;
    return 1;
}

}  // namespace duoskop
