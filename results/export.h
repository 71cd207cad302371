// SPDX-License-Identifier: GPL-3.0-or-later
// The export of the interpretation texts of all result entries to a file or the printer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "base/drive_c.h"
#include "results/ktexte.h"
#include "results/pictures.h"

namespace duoskop {

/// The two scopes of the export choice: "nur PL-Bild-Texte" and "alle".
enum class ExportScope { pictures_only, all };

/// The block of one entry, or the I/O error that stopped reading its picture text.
struct TexteResult {
    std::string block;     ///< lines ending with "\r" (the last one too); empty: no block
    std::string io_error;  ///< non-empty: the export stops here with this error box
};

/// The text block of an entry from its resolution (no files read, nothing shown):
/// picture found: the entry, the kept picture lines, four blanks;
/// else in the scope "alle" with single meanings loaded: the entry, "K1: T1", "K2: T2", four
/// blanks; else empty. Never cut at 255 characters.
std::string texte_block(std::string_view entry, const Resolution& resolution, bool alle,
                        bool ktexte_da);

/// `texte`: resolves entry `nr` of `entries` and builds its block. An `nr` beyond the list gives
/// an empty block.
TexteResult texte(const std::vector<std::string>& entries, std::uint16_t nr, bool alle,
                  const Ktexte& ktexte, const DriveC& drive);

/// Header line of an export to a file: "F1 N1,   F2 N2" + four blanks ("nur PL-Bild-Texte")
/// or three blanks ("alle") + the analysis title (at most 28 characters of it).
std::string export_file_header(const chart_record& person1, const chart_record& person2,
                               std::string_view analysis_title, ExportScope scope);
/// Header line of an export to the printer (both scopes): three blanks + "F1 N1,   F2 N2" +
/// three blanks + the analysis title.
std::string export_printer_header(const chart_record& person1, const chart_record& person2,
                                  std::string_view analysis_title);

/// The lines an export writes, and the I/O error that cut it short (empty when complete).
/// On an error `lines` holds what was to be written before it.
struct ExportLines {
    std::vector<std::string> lines;
    std::string io_error;
};

/// Lines of an export to a file (each to be ended by CR LF): the header, an empty line, then the
/// lines of each entry's block in list order.
ExportLines export_file_lines(const std::vector<std::string>& entries, ExportScope scope,
                              const chart_record& person1, const chart_record& person2,
                              std::string_view analysis_title, const Ktexte& ktexte,
                              const DriveC& drive);

/// Lines of an export to the printer: two empty lines, the printer header, an empty line, then
/// each line of each entry's block preceded by three blanks.
ExportLines export_printer_lines(const std::vector<std::string>& entries, ExportScope scope,
                                 const chart_record& person1, const chart_record& person2,
                                 std::string_view analysis_title, const Ktexte& ktexte,
                                 const DriveC& drive);

/// The pieces of a block: split at each CR; the final CR ends the last line and adds none.
std::vector<std::string> block_lines(std::string_view block);

}  // namespace duoskop
