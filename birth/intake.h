// SPDX-License-Identifier: GPL-3.0-or-later
// The one way in: birth data as typed or imported turned into a checked chart record and the
// name of its chart file. new-chart, import, the chart dialog and the chart index's import all
// come through here, so that a record is refused for the same reasons, in the same words, at
// every door.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/chart_state.h"
#include "birth/local_time.h"
#include "places/atlas.h"

namespace duoskop {

/// The fields of birth data that can be refused.
enum class IntakeField : std::size_t { name, first_name, date, time, zone, place, coordinates, extra };
inline constexpr std::size_t intake_field_count = 8;

/// Birth data as typed or read from an exchange file (texts UTF-8).
struct BirthInput {
    std::string name, first_name, extra;  ///< extra empty: the place as typed
    std::string date;                     ///< D.M.YYYY of the chart calendar
    std::string time;                     ///< H:M[:S]
    bool time_unknown = false;            ///< the record gets 12:00:00, its mark of an unknown time
    bool local_time = false;              ///< `time` and `date` are the clock time at the place
    std::string zone;                     ///< empty: the zone of the place
    std::optional<ZoneRule> zone_rule;    ///< a zone already read (AAF's zone difference), before `zone`
    Ambiguous reading = Ambiguous::refuse;
    std::string place, country, region;   ///< the place as typed; country as ISO or vehicle code
    std::optional<double> longitude, latitude;  ///< degrees, east and north positive; else the place's
    std::optional<double> julian_day;     ///< universal time as a Julian day (AAF), instead of date and time
};

/// What the intake may consult.
struct IntakeContext {
    const Atlas* atlas = nullptr;  ///< nullptr: data that need the place are refused
};

struct IntakeResult {
    /// German reason per field (UTF-8: it may quote what was typed); empty where the field is fine.
    std::array<std::string, intake_field_count> refusals;
    chart_record record;             ///< Windows-1252; complete when ok()
    std::string file_name;           ///< UTF-8: chart_file_name of the name
    std::optional<Place> place;      ///< the atlas place taken
    std::vector<Place> candidates;   ///< a place name that is ambiguous: up to five of its places
    /// UTF-8: the extra taken from a place that Windows-1252 cannot hold is that place in plain
    /// letters; this says so (empty otherwise).
    std::string extra_note;
    std::optional<UniversalTime> universal;  ///< a local time read in its zone
    bool twice = false;              ///< the clocks showed the local time twice: its two readings
    UniversalTime earlier, later;

    bool ok() const;
    const std::string& refusal(IntakeField field) const { return refusals[static_cast<std::size_t>(field)]; }
    /// All reasons in one line (UTF-8), each after its field's name ("Name: ... Datum: ...").
    std::string reasons() const;
};

/// Checks every field and builds the record. Name, first name and extra: at most 10 characters of
/// Windows-1252 without control characters (extra taken from the place is cut, not refused); the
/// name must be able to name a file; an extra taken from a place Windows-1252 cannot hold is the
/// place in plain letters (chart_text), said in extra_note. The place is found in tiers
/// (Atlas::match); an ambiguous one is refused naming up to five candidates. A local time is read in its zone (the zone of the
/// place unless given), local mean time from the birth place's longitude.
IntakeResult make_chart(const BirthInput& input, const IntakeContext& context);

/// A text field of the record from UTF-8: Windows-1252, at most 10 characters, no control
/// characters; nothing with the German reason (UTF-8) in `refusal`.
std::optional<std::string> chart_text_field(std::string_view utf8, std::string& refusal);

/// Why a name (Windows-1252) cannot name a chart file (UTF-8), or nothing when it can.
std::optional<std::string> file_name_refusal(std::string_view name_cp1252);

/// The file name (UTF-8) of a person's chart file: the name with a-z in capitals, then ".dat",
/// so that it passes the name check. Every door names new chart files this way. Umlauts and the
/// other letters beyond a-z stay as typed (Baecker with a-umlaut gives the file name with a small
/// a-umlaut among capitals): the name check of the chart load, here and in the other program,
/// compares them exactly, so a capital umlaut in the file name would not load as that person.
std::string chart_file_name(std::string_view name_cp1252);

/// The key under which the drive of the other program cannot tell file names (UTF-8) apart: the
/// name with every letter of Windows-1252 in its capital (a-z, the accented letters 0xE0-0xFE but
/// the division sign, s, oe and z with caron, y with diaeresis), so that the names with a small
/// and a capital umlaut are one file there. A name without a Windows-1252 form keeps its bytes,
/// a-z in capitals.
std::string case_twin_key(std::string_view file_name);

/// The files of one folder by case_twin_key, listed once, so that many charts written into one
/// folder (an import) look for their case twins without listing the folder again.
class FolderNames {
public:
    explicit FolderNames(std::filesystem::path dir);
    /// A file whose name equals `file_name` but for case (case_twin_key), other than `except`.
    std::optional<std::filesystem::path> twin(std::string_view file_name,
                                              const std::optional<std::filesystem::path>& except = std::nullopt) const;
    /// A file written into the folder since it was listed.
    void add(const std::filesystem::path& file);
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::unordered_multimap<std::string, std::filesystem::path> by_key_;
};

/// A file in `dir` whose name equals `file_name` but for case (case_twin_key: the drive of the
/// other program does not tell them apart), other than `except`; nothing when there is none.
std::optional<std::filesystem::path> case_twin(const std::filesystem::path& dir, std::string_view file_name,
                                               const std::optional<std::filesystem::path>& except = std::nullopt);

/// "Name, Region, Land (Breite, Länge), Einwohner" of a place, for lists of candidates (UTF-8:
/// place names need not fit Windows-1252).
std::string candidate_text(const Place& place);

}  // namespace duoskop
