// SPDX-License-Identifier: GPL-3.0-or-later
// A chart as the user types it into the chart index: checked field by field, turned into the
// record of a chart file, previewed, and written without ever replacing another person's file.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/chart_state.h"
#include "birth/intake.h"
#include "birth/local_time.h"

namespace duoskop {

/// The fields of the chart dialog that can be refused.
enum class DraftField : std::size_t { name, first_name, date, time, longitude, latitude, extra, folder, zone };
inline constexpr std::size_t draft_field_count = 9;

/// A geographic coordinate as typed: whole degrees, minutes and seconds, and the direction.
struct DegreesMinutes {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    bool negative = false;  ///< west of Greenwich, south of the equator
    bool operator==(const DegreesMinutes&) const = default;
};

/// What the user typed, before any check.
struct ChartDraft {
    std::string name;        ///< UTF-8, as all texts here
    std::string first_name;
    std::string date;        ///< D.M.YYYY
    std::string time;        ///< H:M[:S]: universal time, or the local clock time in `zone`
    bool time_unknown = false;  ///< the record gets 12:00:00, its mark of an unknown time
    bool local_time = false;    ///< `time` (and `date`) are the local clock time in `zone`
    std::string zone;           ///< an IANA zone, a fixed offset "UTC+01:00" or "LMT"
    Ambiguous reading = Ambiguous::refuse;  ///< which reading of a local time the clocks showed twice
    DegreesMinutes longitude;
    DegreesMinutes latitude;
    std::string extra;
    std::string folder;      ///< relative to the chart folder, '/'-separated; empty for the folder itself
    bool operator==(const ChartDraft&) const = default;
};

/// The result of checking a draft.
struct DraftCheck {
    /// UTF-8 German reason per field (it may quote what was typed); empty where the field is fine.
    std::array<std::string, draft_field_count> refusals;
    chart_record record;  ///< Windows-1252; a refused field stays empty
    std::string folder;   ///< the folder normalised: no empty parts, no leading or trailing '/'
    /// A local time read in its zone: the universal time, the zone time's abbreviation and offset.
    std::optional<UniversalTime> universal;
    /// The clocks showed the local time twice; `earlier` and `later` are its two readings.
    bool twice = false;
    UniversalTime earlier;
    UniversalTime later;

    bool ok() const;
    const std::string& refusal(DraftField field) const { return refusals[static_cast<std::size_t>(field)]; }
};

/// Checks every field and builds the record through make_chart (birth/intake.h): texts of at most 10 Windows-1252 characters without
/// control characters, a name that can be a file name, a calendar date, a time of day (or 12:00:00
/// for an unknown time), coordinates within 180 and 90 degrees, a folder inside the chart folder.
/// A local time is read in its zone (local mean time from the longitude): the record gets the
/// universal date and time; a time the clocks skipped is refused naming the switch, one they
/// showed twice naming both readings until `reading` picks one.
DraftCheck check_draft(const ChartDraft& draft);

/// The draft that shows an existing record, as the main window reads it (for editing or copying).
ChartDraft draft_of(const chart_record& record, std::string folder);

/// What the dialog shows of a checked record while one types (Windows-1252).
struct ChartPreview {
    std::string universal;  ///< "09.09.1990 03:05:00 UT"
    std::string sun;        ///< "16°11' JUN", as the main window writes positions
    std::string mc;
    std::string as;
};
ChartPreview chart_preview(const chart_record& record);

// file_name_refusal and chart_file_name, the one rule for chart file names: birth/intake.h.

/// The file `save_chart` writes for `record` in `folder`: the edited file itself while it stays in
/// its folder and its file name still passes the name check, else `chart_file_name` in `folder`.
std::filesystem::path planned_file(const std::filesystem::path& root, const chart_record& record,
                                   const std::string& folder, const std::optional<std::filesystem::path>& original);

/// What writing a chart file did.
struct SaveResult {
    enum class Outcome { written, taken, failed };
    Outcome outcome = Outcome::written;
    std::filesystem::path path;  ///< the file written, or the one that was in the way
    std::string message;         ///< UTF-8: why it was not written (for the name field when taken)
    bool original_left = false;  ///< an edited file now lies under another name; the old one is still there
};

/// Writes `record` into `folder` (relative to `root`, created when missing), whole or not at all.
/// An edit (`original` given) replaces the edited file when it stays in its folder and its file name
/// still passes the name check; every other save makes a new file named by `chart_file_name` and
/// never replaces an existing file, nor one whose name differs only in the case of a-z.
/// A name that cannot be a file name (file_name_refusal) is refused, and so is every save into
/// the shipped sample drive (in_sample_drive), which is data of the installation.
SaveResult save_chart(const std::filesystem::path& root, const chart_record& record, const std::string& folder,
                      const std::optional<std::filesystem::path>& original);

/// Many charts written into one folder (an import): the folder is listed once and its names kept,
/// each chart file is written as save_chart writes a new one (whole, synced before it is named,
/// never over another file nor beside its case twin), and the folder is synced once, in finish().
class ChartBatch {
public:
    /// The folder `folder` (relative to `root`, empty for `root`), made at the first save.
    ChartBatch(std::filesystem::path root, std::string folder);
    ~ChartBatch();  ///< finish()
    ChartBatch(const ChartBatch&) = delete;
    ChartBatch& operator=(const ChartBatch&) = delete;

    /// Writes `record` as a new chart file; with `replace`, over the chart file of that name in
    /// any case (as an edit of it) when there is one.
    SaveResult save(const chart_record& record, bool replace);
    /// Syncs the folder when anything was written since the last time; the syncs made (0 or 1).
    int finish();

private:
    std::filesystem::path root_;
    std::string folder_;
    FolderNames names_;
    bool folder_made_ = false;
    bool unsynced_ = false;
};

}  // namespace duoskop
