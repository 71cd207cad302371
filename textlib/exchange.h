// SPDX-License-Identifier: GPL-3.0-or-later
// The exchange file of the text library (UTF-8, for editors and version control):
//   # comment lines before the first entry
//   [MC/SO]            a single meaning, one line
//   [MC/SO=JU/SA]      a picture text, up to 14 lines
// Empty lines inside an entry are ignored; an entry without text lines deletes that picture (or
// empties that single meaning). A text line that begins with '[' or a backslash is written with
// one more backslash in front, which reading takes away; the bytes CR and LF inside a stored text
// are written as U+240D and U+240A (characters the files cannot hold) and read back as the bytes.
// So every text the files hold comes back as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "textlib/library.h"

namespace duoskop::textlib {

/// The entries of an exchange file and every line that was refused (with its line and column).
struct ExchangeFile {
    std::vector<TextChange> changes;
    std::vector<Refusal> refusals;
    std::vector<std::size_t> escaped_lines;  ///< text lines written with an escaping backslash, ascending
};

/// Reads any bytes as an exchange file. A UTF-8 byte order mark and CR before LF are allowed.
ExchangeFile parse_exchange(std::string_view bytes);

/// Every single meaning (file order) and every picture (axis pairs in name order, slots in order)
/// as the reader shows them, trailing blanks removed, as an exchange file; importing it changes
/// nothing. A formula the file cannot name (a key holding '=') is left out.
std::string export_exchange(const Library& library);

/// The UTF-8 form of a Windows-1252 text as the exchange file writes it: the five bytes
/// Windows-1252 leaves unassigned as the control characters of the same number, CR and LF as
/// U+240D and U+240A.
std::string exchange_utf8(std::string_view cp1252);

/// Imports an exchange file into `library`: all entries or none; every refusal (of the file and
/// of each text) is reported, sorted by line.
ApplyResult import_exchange(Library& library, std::string_view bytes, const ApplyOptions& options = {});

}  // namespace duoskop::textlib
