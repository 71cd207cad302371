// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an exchange file of the text library: every entry has a formula, every refusal a
// line of the file, and checking the entries against a small collection writes nothing.
// The same bytes as a collection (KTEXTE.txt and one axis pair's index and texts): importing its
// export is the identity (every text comes back as the reader shows it, nothing is written), and
// exporting again gives the same file.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_harness.h"
#include "results/pictures.h"
#include "textlib/exchange.h"

using namespace duoskop;

namespace {

/// The next part of `bytes`: a length in two bytes (little-endian), then that many bytes.
std::string_view take_part(std::string_view& bytes)
{
    if (bytes.size() < 2) {
        bytes = {};
        return {};
    }
    const std::size_t length =
        static_cast<unsigned char>(bytes[0]) | (static_cast<std::size_t>(static_cast<unsigned char>(bytes[1])) << 8);
    bytes.remove_prefix(2);
    const std::string_view part = bytes.substr(0, length);
    bytes.remove_prefix(part.size());
    return part;
}

/// The lines of an entry read from the exchange file, without the empty ones (they stand for nothing).
std::vector<std::string> text_lines(const std::vector<std::string>& lines)
{
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        if (!line.empty()) kept.push_back(line);
    return kept;
}

/// Exporting the collection made of `bytes` and importing the export changes nothing.
void export_import_is_the_identity(std::string_view bytes)
{
    const std::string_view ktexte = take_part(bytes);
    std::string index(take_part(bytes));
    index.resize(picture_index_size, '\0');
    const std::filesystem::path drive = fuzzing::scratch_dir() / "drive_c";
    std::filesystem::create_directories(drive / "astro");
    std::filesystem::create_directories(drive / "PBTX");
    fuzzing::write_file(drive / "astro" / "KTEXTE.txt", ktexte);
    fuzzing::write_file(drive / "PBTX" / "MCSO.vwt", index);
    fuzzing::write_file(drive / "PBTX" / "MCSO.txt", bytes);

    textlib::Library library = textlib::open_library(DriveC(drive));
    const std::string exported = textlib::export_exchange(library);
    const textlib::ExchangeFile file = textlib::parse_exchange(exported);
    fuzzing::require(file.refusals.empty());
    // Every entry names a formula of the library and holds its text exactly.
    for (const textlib::TextChange& change : file.changes) {
        const auto text = textlib::text_of(library, change.formula);
        fuzzing::require(text.has_value() && *text == text_lines(change.lines));
    }
    const textlib::ApplyResult r = textlib::import_exchange(library, exported);
    fuzzing::require(r.outcome == textlib::ApplyOutcome::written);
    fuzzing::require(r.replaced == 0 && r.added == 0 && r.deleted == 0 && r.version.empty());
    fuzzing::require(textlib::export_exchange(textlib::open_library(DriveC(drive))) == exported);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const textlib::ExchangeFile file = textlib::parse_exchange(bytes);
    std::size_t lines = 1;
    for (const char c : bytes) lines += c == '\n';
    for (const textlib::Refusal& r : file.refusals) fuzzing::require(r.line >= 1 && r.line <= lines);
    for (const std::size_t line : file.escaped_lines) fuzzing::require(line >= 1 && line <= lines);
    for (const textlib::TextChange& c : file.changes) {
        fuzzing::require(textlib::parse_formula(c.formula.text()) == c.formula);
        fuzzing::require(c.line >= 1 && c.line + c.lines.size() <= lines);
    }
    // Checked against an empty collection with no folder behind it: nothing may be written.
    textlib::Library library;
    textlib::ApplyOptions check;
    check.check_only = true;
    const textlib::ApplyResult r = textlib::apply_changes(library, file.changes, check);
    fuzzing::require(r.version.empty());
    for (const textlib::Refusal& refusal : r.refusals) fuzzing::require(refusal.line <= lines);

    export_import_is_the_identity(bytes);
    return 0;
}
