// SPDX-License-Identifier: GPL-3.0-or-later
// The single meanings of the midpoint pairs: the file "C:\astro\KTEXTE.txt", read once at start.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/drive_c.h"

namespace duoskop {

/// One record of KTEXTE.txt: 1 length byte + 5 key bytes, 1 length byte + 80 text bytes.
inline constexpr std::size_t ktexte_record_size = 87;
inline constexpr std::size_t ktexte_key_capacity = 5;
inline constexpr std::size_t ktexte_text_capacity = 80;

/// One single meaning: a midpoint pair such as "MC/SO" and its one-line meaning (Windows-1252).
struct KtexteRecord {
    std::string key;
    std::string text;
    bool operator==(const KtexteRecord&) const = default;
};

/// The single meanings as the main window holds them for the whole run.
struct Ktexte {
    std::vector<KtexteRecord> ktexte_table;  ///< every record of the file, in file order
    bool ktexte_da = false;                  ///< true once the file was read to its end
};

enum class KtexteOutcome {
    loaded,      ///< every record read; `ktexte_da` true; nothing to show
    missing,     ///< the file cannot be opened: error box `texts::kKtexteMissing`
    read_error,  ///< short last record, empty file or read error: error box with the I/O error
};

struct KtexteLoadResult {
    KtexteOutcome outcome = KtexteOutcome::loaded;
    /// The text of the error box to show (Windows-1252, "\r" between lines); empty when loaded.
    std::string message;
};

/// Decodes the records of a KTEXTE.txt image into `into` (replacing what it held). Every whole
/// record is kept; length bytes above 5 / 80 are taken as 5 / 80. An empty image or one whose
/// size is not a multiple of 87 gives `read_error` with the whole records kept and `ktexte_da`
/// false.
KtexteLoadResult parse_ktexte(std::string_view bytes, Ktexte& into);

/// Loads the file at `path` (a Linux path) into `into`; see `parse_ktexte`. A file that cannot be
/// opened gives `missing` with an empty table; another read failure gives `read_error`.
KtexteLoadResult load_ktexte(const std::filesystem::path& path, Ktexte& into);

/// Loads "C:\astro\KTEXTE.txt" of the given drive C.
KtexteLoadResult load_ktexte(const DriveC& drive, Ktexte& into);

/// The meaning of the first record whose key equals `key` exactly (same length, same bytes,
/// case-sensitive); empty when no record has that key.
std::string single_meaning(const Ktexte& ktexte, std::string_view key);

}  // namespace duoskop
