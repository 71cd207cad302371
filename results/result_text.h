// SPDX-License-Identifier: GPL-3.0-or-later
// What a comparison hands to the result window: caption, title, report lines and result entries.
#pragma once

#include <string>
#include <vector>

namespace duoskop {

/// All texts are Windows-1252 bytes.
struct ResultText {
    std::string analysis_title;         ///< names the comparison in the export header
    std::string caption;                ///< the result window's caption
    std::vector<std::string> lines;     ///< the report, one entry per line
    std::vector<std::string> entries;   ///< result entries XX/YY=AA/BB, in list order
    std::string hint;                   ///< the first-time hint to show, empty when none is due
};

}  // namespace duoskop
