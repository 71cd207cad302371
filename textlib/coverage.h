// SPDX-License-Identifier: GPL-3.0-or-later
// Which result entries of a comparison have a picture text, only single meanings, or nothing:
// told by the one resolution of an entry's text that the click and the export use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/drive_c.h"
#include "results/ktexte.h"

namespace duoskop::textlib {

enum class TextSource {
    picture,  ///< the picture collection has the entry's text
    singles,  ///< no picture text; the single meanings are loaded and one of the two pairs has one
    none,     ///< neither (or the collection could not be read)
};

/// "Bild", "Einzelbedeutungen" or "keine" (Windows-1252).
std::string_view source_name(TextSource source);

struct CoverageLine {
    std::string entry;
    TextSource source = TextSource::none;
    std::string io_error;  ///< the reader's I/O error for this entry, empty when none
};

struct Coverage {
    std::vector<CoverageLine> lines;  ///< one per entry, list order
    std::size_t pictures = 0, singles = 0, none = 0;
};

/// The source of each entry's text as `resolve_entry` finds it.
Coverage coverage(const std::vector<std::string>& entries, const Ktexte& ktexte, const DriveC& drive);

/// The summary line: "N Einträge: B Bild, E Einzelbedeutungen, K keine" (Windows-1252).
std::string coverage_summary(const Coverage& c);

}  // namespace duoskop::textlib
