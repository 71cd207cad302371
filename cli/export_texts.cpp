// SPDX-License-Identifier: GPL-3.0-or-later
// compare ... --export-texts bilder|alle FILE: the interpretation texts of all result entries,
// written as the result window's export to a file writes them.
#include <cstdio>
#include <string>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "results/export.h"
#include "results/ktexte.h"
#include "results/report.h"

namespace duoskop::cli {

int write_export_texts(const std::string& scope, const std::string& path, const ResultText& result,
                       const ChartState& chart, const DriveC& drive)
{
    ExportScope export_scope;
    if (scope == "bilder")
        export_scope = ExportScope::pictures_only;
    else if (scope == "alle")
        export_scope = ExportScope::all;
    else
        return usage("compare");

    // Missing single meanings only reduce the blocks; say so, as the program does at its start.
    Ktexte ktexte;
    if (const KtexteLoadResult loaded = load_ktexte(drive, ktexte); loaded.outcome != KtexteOutcome::loaded)
        std::fprintf(stderr, "duoskop-cli: %s\n", terminal_text(loaded.message).c_str());

    const ExportLines lines = export_file_lines(result.entries, export_scope, chart.person1, chart.person2,
                                                result.analysis_title, ktexte, drive);
    if (const std::string error = append_text_file(path, lines.lines); !error.empty()) {
        std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(error).c_str());
        return 1;
    }
    if (!lines.io_error.empty()) {
        std::fprintf(stderr, "duoskop-cli: Export der Texte abgebrochen: %s\n",
                     terminal_text(lines.io_error).c_str());
        return 1;
    }
    return 0;
}

}  // namespace duoskop::cli
