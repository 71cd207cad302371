// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an exchange file of the text library: every entry has a formula, every refusal a
// line of the file, and checking the entries against a small collection writes nothing.
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_harness.h"
#include "textlib/exchange.h"

using namespace duoskop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const textlib::ExchangeFile file = textlib::parse_exchange(bytes);
    std::size_t lines = 1;
    for (const char c : bytes) lines += c == '\n';
    for (const textlib::Refusal& r : file.refusals) fuzzing::require(r.line >= 1 && r.line <= lines);
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
    return 0;
}
