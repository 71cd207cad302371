// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/export.h"

namespace duoskop {

namespace {

/// At most this many characters of the analysis title go into a header.
constexpr std::size_t kTitleWidth = 28;
/// The line that closes every block, and the indentation of every printed block line.
constexpr std::string_view kFourBlanks = "    ";
constexpr std::string_view kThreeBlanks = "   ";

std::string both_persons(const chart_record& p1, const chart_record& p2)
{
    return p1.first_name + " " + p1.name + ",   " + p2.first_name + " " + p2.name;
}

std::string_view title_of(std::string_view analysis_title) { return analysis_title.substr(0, kTitleWidth); }

/// The export of `entries`: `first` lines, then each block line with `indent` before it.
ExportLines export_lines(std::vector<std::string> first, std::string_view indent,
                         const std::vector<std::string>& entries, ExportScope scope,
                         const Ktexte& ktexte, const DriveC& drive)
{
    ExportLines out{std::move(first), {}};
    const bool alle = scope == ExportScope::all;
    for (const std::string& entry : entries) {
        const Resolution r = resolve_entry(entry, ktexte, drive);
        if (!r.io_error.empty()) {
            out.io_error = r.io_error;
            return out;
        }
        for (std::string& piece : block_lines(texte_block(entry, r, alle, ktexte.ktexte_da)))
            out.lines.push_back(std::string(indent) + piece);
    }
    return out;
}

}  // namespace

std::string texte_block(std::string_view entry, const Resolution& r, bool alle, bool ktexte_da)
{
    std::string block;
    if (r.found) {
        block += entry;
        block += '\r';
        for (const std::string& line : r.lines) {
            block += line;
            block += '\r';
        }
    } else if (alle && ktexte_da && r.singles) {
        block += entry;
        block += '\r';
        block += r.key1 + ": " + r.text1 + '\r';
        block += r.key2 + ": " + r.text2 + '\r';
    } else {
        return block;
    }
    block += kFourBlanks;
    block += '\r';
    return block;
}

TexteResult texte(const std::vector<std::string>& entries, std::uint16_t nr, bool alle,
                  const Ktexte& ktexte, const DriveC& drive)
{
    if (nr >= entries.size()) return {};
    const Resolution r = resolve_entry(entries[nr], ktexte, drive);
    if (!r.io_error.empty()) return {{}, r.io_error};
    return {texte_block(entries[nr], r, alle, ktexte.ktexte_da), {}};
}

std::string export_file_header(const chart_record& person1, const chart_record& person2,
                               std::string_view analysis_title, ExportScope scope)
{
    std::string header = both_persons(person1, person2);
    header += scope == ExportScope::pictures_only ? kFourBlanks : kThreeBlanks;
    header += title_of(analysis_title);
    return header;
}

std::string export_printer_header(const chart_record& person1, const chart_record& person2,
                                  std::string_view analysis_title)
{
    std::string header(kThreeBlanks);
    header += both_persons(person1, person2);
    header += kThreeBlanks;
    header += title_of(analysis_title);
    return header;
}

ExportLines export_file_lines(const std::vector<std::string>& entries, ExportScope scope,
                              const chart_record& person1, const chart_record& person2,
                              std::string_view analysis_title, const Ktexte& ktexte,
                              const DriveC& drive)
{
    return export_lines({export_file_header(person1, person2, analysis_title, scope), ""}, "",
                        entries, scope, ktexte, drive);
}

ExportLines export_printer_lines(const std::vector<std::string>& entries, ExportScope scope,
                                 const chart_record& person1, const chart_record& person2,
                                 std::string_view analysis_title, const Ktexte& ktexte,
                                 const DriveC& drive)
{
    return export_lines({"", "", export_printer_header(person1, person2, analysis_title), ""},
                        kThreeBlanks, entries, scope, ktexte, drive);
}

std::vector<std::string> block_lines(std::string_view block)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t stop = block.find('\r', start);
        if (stop == std::string_view::npos) stop = block.size();
        lines.emplace_back(block.substr(start, stop - start));
        start = stop + 1;
    }
    return lines;
}

}  // namespace duoskop
