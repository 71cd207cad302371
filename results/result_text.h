// SPDX-License-Identifier: GPL-3.0-or-later
// What a comparison hands to the result window: caption, title, report lines and result entries.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace duoskop {

/// The charts a result entry A/B=C/D took its four factors from: 1 (person 1) or 2 (person 2).
/// A search axis such as MC1/MC2 joins the MCs of both persons.
struct EntryCharts {
    std::uint8_t a = 1;
    std::uint8_t b = 1;
    std::uint8_t c = 1;
    std::uint8_t d = 1;
    bool operator==(const EntryCharts&) const = default;
};

/// All texts are Windows-1252 bytes.
struct ResultText {
    std::string analysis_title;         ///< names the comparison in the export header
    std::string caption;                ///< the result window's caption
    std::vector<std::string> lines;     ///< the report, one entry per line
    std::vector<std::string> entries;   ///< result entries XX/YY=AA/BB, in list order
    std::vector<EntryCharts> entry_charts;  ///< where each entry's factors stand, as `entries`
    std::string hint;                   ///< the first-time hint to show, empty when none is due

    /// Appends a result entry and the charts of its factors.
    void add_entry(std::string entry, EntryCharts charts)
    {
        entries.push_back(std::move(entry));
        entry_charts.push_back(charts);
    }
};

}  // namespace duoskop
