// SPDX-License-Identifier: GPL-3.0-or-later
// The text library: the single meanings of KTEXTE.txt and the picture collection of "C:\PBTX\"
// read as the result window's reader reads them, searched, and written back record by record,
// whole or not at all, with the files before every change kept as a version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/drive_c.h"
#include "results/ktexte.h"

namespace duoskop::textlib {

/// The single meanings the reader keeps: a new one beyond this count is refused.
inline constexpr std::size_t max_single_meanings = 300;

/// A formula: "XX/YY=AA/BB" (a picture text: axis pair XX/YY, midpoint pair AA/BB as it stands in
/// the index slot) or "XX/YY" (a single meaning: `axis` empty, `key` the record key of KTEXTE.txt).
/// Windows-1252 bytes.
struct Formula {
    std::string axis;
    std::string key;
    bool picture() const { return !axis.empty(); }
    std::string text() const { return picture() ? axis + "=" + key : key; }
    bool operator==(const Formula&) const = default;
};

/// "XX/YY=AA/BB" (axis exactly five characters with '/' third, key 1..13 characters) or a single
/// meaning key of 1..5 characters without '='; nothing for anything else.
std::optional<Formula> parse_formula(std::string_view text);

/// Whether every factor of `formula` is one of the 24 body codes: "XX/YY" and, for a picture, "AA/BB".
bool known_factors(const Formula& formula);

/// One picture as the reader finds it: the first slot (0..252) with its key, and the kept lines
/// of its record with trailing blanks removed.
struct Picture {
    std::string key;
    std::size_t slot = 0;
    bool readable = true;             ///< false: the text file lacks the record (the reader fails)
    std::vector<std::string> lines;   ///< Windows-1252, trailing blanks removed
};

/// The folded formulas and texts of a list of entries, one after the other (each ended by a zero
/// byte), so that a search runs over one block of memory.
struct FoldedTexts {
    std::string text;
    std::vector<std::size_t> starts;  ///< where entry i begins
};

/// The two files of one axis pair, as read, and the pictures the reader finds in them.
struct AxisFiles {
    std::string axis;                 ///< "MC/SO"
    std::string index_name, text_name;  ///< file names in the collection folder ("MCSO.vwt")
    bool index_exists = false, text_exists = false;
    std::string index_bytes, text_bytes;
    bool index_short = false;         ///< shorter than 3570 bytes: the reader fails on every entry
    std::vector<Picture> pictures;    ///< in slot order
    FoldedTexts folded;               ///< one per picture, for the search
};

struct SingleMeaning {
    std::size_t record = 0;           ///< record number in KTEXTE.txt
    std::string key;
    std::string text;                 ///< trailing blanks removed
};

/// How the library changes files: `write` replaces a file whole (empty: the one writer,
/// `write_file_whole`), `remove` deletes one (empty: unlink; a file already gone counts as
/// removed). Each gives 0 or the errno value. A test puts in ones that fail.
struct FileChanges {
    std::function<int(const std::filesystem::path&, std::string_view)> write;
    std::function<int(const std::filesystem::path&)> remove;
};

/// Everything the library holds of one text collection. A plain value; `open_library` fills it.
struct Library {
    std::filesystem::path ktexte_path;    ///< KTEXTE.txt (it may not exist)
    std::filesystem::path pbtx_dir;       ///< the picture collection folder (it may not exist)
    std::filesystem::path versions_dir;   ///< where the kept versions go; empty: read-only
    bool ktexte_exists = false;
    std::string ktexte_bytes;
    Ktexte ktexte;                        ///< as the reader loads it
    std::vector<SingleMeaning> singles;   ///< the first record of each key, file order
    FoldedTexts singles_folded;           ///< one per single meaning, for the search
    std::vector<AxisFiles> axes;          ///< axis pairs in name order
    std::string problem;                  ///< a file that could not be read (Windows-1252), else empty
    FileChanges file_changes;             ///< how its writes reach the files
};

/// Reads a whole file: 0 and its bytes, else the errno value of the failure (EISDIR for a folder,
/// whatever failed part way through); `bytes` then holds what was read.
int read_file(const std::filesystem::path& path, std::string& bytes);

/// Opens drive C's texts: "C:\astro\KTEXTE.txt" and "C:\PBTX\", versions in "C:\astro\Textversionen".
Library open_library(const DriveC& drive);
/// Whether `drive` is the sample drive that ships with the programs (data of the installation,
/// which the text library never writes).
bool is_shipped_sample_drive(const DriveC& drive);

/// Opens a collection folder read-only (another author's): KTEXTE.txt found beside or inside it
/// when there is one, the axis pairs in the folder itself.
Library open_collection(const std::filesystem::path& folder);

/// The text of a formula as the reader shows it (trailing blanks removed); nothing when the
/// library has none (no picture, an unreadable record, no such single meaning).
std::optional<std::vector<std::string>> text_of(const Library& library, const Formula& formula);

/// Every formula with a text, in export order: single meanings (file order), then pictures (axis
/// pairs in name order, slots in order). Pictures without any kept line are left out.
std::vector<Formula> all_formulas(const Library& library);

/// The search fold of Windows-1252 text: lower case, accents off, ä/ö/ü/ß as ae/oe/ue/ss.
std::string fold(std::string_view cp1252);
/// Appends the fold of `cp1252` to `out`.
void fold_into(std::string& out, std::string_view cp1252);

/// The formulas whose formula or text holds every one of `words` (Windows-1252), folded; in
/// export order. No words: every formula.
std::vector<Formula> search(const Library& library, const std::vector<std::string>& words);

/// One text to write: `lines` empty deletes the picture (or empties the single meaning).
struct TextChange {
    Formula formula;
    std::vector<std::string> lines;   ///< Windows-1252, one per line
    std::size_t line = 0;             ///< where it came from (exchange file line), 0 when typed
};

/// Why a change or a line was refused: the line (0 when none) and column (0 when the whole line),
/// and the reason (Windows-1252).
struct Refusal {
    std::size_t line = 0;
    std::size_t column = 0;
    std::string reason;
    bool operator==(const Refusal&) const = default;
};

/// Why `lines` cannot be stored as the text of `formula`: the first reason of each refused line,
/// with its line (1-based within the text) and column; empty when they can. Windows-1252.
std::vector<Refusal> check_text(const Formula& formula, const std::vector<std::string>& lines);

/// The lines of a typed text wrapped at blanks to at most `width` characters: each paragraph
/// (text between line breaks) on lines of its own, a word longer than a line cut at its end,
/// empty paragraphs left out. Windows-1252.
std::vector<std::string> wrap_words(std::string_view text, std::size_t width);

struct ApplyOptions {
    bool overwrite_changed = false;   ///< replace files that changed on disk since they were read
    bool check_only = false;          ///< only check the changes (refusals); write nothing
};

enum class ApplyOutcome {
    written,       ///< every change written (or nothing differed)
    refused,       ///< `refusals` says why; nothing written
    changed,       ///< a file changed on disk since it was read (`files`); nothing written
    failed,        ///< a write failed (`message`); every file as it was, unless `differing` names some
};

struct ApplyResult {
    ApplyOutcome outcome = ApplyOutcome::written;
    std::vector<Refusal> refusals;
    std::vector<std::string> files;   ///< the files that changed on disk (Windows-1252 names)
    std::string message;              ///< I/O error text (Windows-1252)
    std::size_t replaced = 0, added = 0, deleted = 0;
    std::string version;              ///< the version kept before the change, empty when none
    /// After a failed write: the files that could not be put back and now differ from before
    /// (Windows-1252 paths); `version` restores them, and `message` says so.
    std::vector<std::string> differing;
};

/// Applies all `changes` or none: an entry whose text equals what the reader shows is left alone;
/// each other one is checked; a deletion frees its slot before new pictures take the first free
/// slot of their axis pair. The files before the change are kept as a version; then each file is
/// written whole (temporary file, then rename), and a failure puts back those already written.
/// `library` holds the new state afterwards.
ApplyResult apply_changes(Library& library, const std::vector<TextChange>& changes,
                          const ApplyOptions& options = {});

/// The kept versions, newest first: by the time each was made, as its name records it.
std::vector<std::string> list_versions(const Library& library);

/// When a version was made and its number within that second, read from its name:
/// "2026-12-08T14-21-11Z" (universal time, as versions are named) or "2026-12-08_14-21-11"
/// (local time, as older versions were named), each possibly followed by ".2", ".3" ….
struct VersionTime {
    std::int64_t seconds = 0;   ///< universal time, seconds since 1970-01-01 00:00
    std::size_t number = 1;     ///< 1, or the number after '.'
};
/// The time recorded in a version's name; nothing for a name of neither form.
std::optional<VersionTime> version_time(std::string_view name);
/// A version's name as the user reads it: its time in local time, "08.12.2026 15:21:11", with
/// " (2)" … for later versions of the same second; the name itself when it records no time.
std::string version_label(std::string_view name);

struct RestoreResult {
    bool ok = false;
    std::string message;   ///< why not (Windows-1252)
    std::string version;   ///< the version that keeps the files replaced by the restore
    /// After a failed write: the files that could not be put back (Windows-1252 paths); `version`
    /// restores them.
    std::vector<std::string> differing;
};

/// Brings every file back to what it was before the change that kept version `name` (undoing
/// that change and every later one), keeping the current files as a version first; reopens
/// `library` from its files afterwards. A current file that is there but cannot be read is
/// refused (it could be neither kept nor brought back), and so nothing is written.
RestoreResult restore_version(Library& library, const std::string& name);

}  // namespace duoskop::textlib
