// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/exchange_files.h"

#include <cerrno>
#include <cstdio>
#include <map>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/drive_c.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "birth/chart_input.h"
#include "birth/exchange.h"
#include "birth/intake.h"
#include "kartei/draft.h"
#include "kartei/kartei_texts.h"

namespace duoskop {

namespace {

std::string utf8(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

// The whole file, or the German I/O error text in `error`.
std::string read_whole(const std::filesystem::path& path, std::string& error)
{
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = utf8(io_error_text(errno));
        return {};
    }
    std::string bytes;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, n);
    if (std::ferror(file.get())) error = utf8(read_error_text(file.get()));
    return bytes;
}

std::string line_reason(std::size_t line, const std::string& why_utf8)
{
    return utf8(texts::kImportLine) + std::to_string(line) + ": " + why_utf8;
}

}  // namespace

ImportResult import_charts(const std::filesystem::path& file, const std::filesystem::path& root,
                           const std::string& folder, const Atlas* atlas, bool replace)
{
    ImportResult result;
    if (in_sample_drive(root)) {
        result.error = utf8(texts::kSampleDriveRefused);
        return result;
    }
    const std::string bytes = read_whole(file, result.error);
    if (!result.error.empty()) return result;
    const ExchangeFile read = read_exchange(bytes, atlas);
    result.cp1252_lines = read.cp1252_lines;
    if (!read.error.empty()) {
        result.error = read.error;
        return result;
    }
    const auto skip = [&result](std::size_t line, const std::string& why) {
        result.skipped.push_back(line_reason(line, why));
        result.skipped_lines.push_back(line);
        result.skipped_reasons.push_back(why);
    };
    const std::filesystem::path dir = folder.empty() ? root : root / folder;
    std::map<std::string, std::size_t> names_written;  // file name with a-z in capitals -> line, this run
    for (const ImportedRecord& r : read.records) {
        if (!r.record) {
            skip(r.line, r.error);
            continue;
        }
        if (const auto earlier = names_written.find(r.file_name); earlier != names_written.end()) {
            skip(r.line, "Der Name \"" + utf8(r.record->name) + "\" kam schon in Zeile " + std::to_string(earlier->second) +
                             " vor; die Datei wird nicht zweimal geschrieben.");
            continue;
        }
        // Replacing: the file of that name in any case is the one to write over.
        std::optional<std::filesystem::path> original;
        if (replace) original = case_twin(dir, r.file_name);
        const SaveResult saved = save_chart(root, *r.record, folder, original);
        if (saved.outcome != SaveResult::Outcome::written) {
            skip(r.line, utf8(r.record->name) + ": " + saved.message);
            continue;
        }
        result.written.push_back(saved.path);
        names_written.emplace(r.file_name, r.line);
    }
    return result;
}

ExportResult export_charts(const std::vector<KarteiEntry>& entries, const std::filesystem::path& target)
{
    ExportResult result;
    std::vector<chart_record> records;
    for (const KarteiEntry& e : entries) {
        const std::string shown = (e.folder.empty() ? "" : e.folder + "/") + e.file_name;
        const auto refusal = e.loadable ? aaf_refusal(e.record) : std::optional<std::string>(utf8(texts::kNoChartFile));
        if (refusal) {
            result.skipped.push_back(shown);
            result.reasons.push_back(*refusal);
            continue;
        }
        if (const auto note = aaf_note(e.record)) result.notes.push_back(shown + ": " + *note);
        records.push_back(e.record);
    }
    const WriteResult written = write_file_whole(target, write_aaf(records));
    if (!written.ok()) {
        result.error = utf8(written.message());
        return result;
    }
    result.written = records.size();
    return result;
}

std::string import_summary(const ImportResult& result, const std::string& folder_shown, std::size_t max_reasons)
{
    const auto to_box = [](const std::string& utf8_text) {
        // Box texts are Windows-1252; what it cannot hold shows as '?'.
        if (auto bytes = utf8_to_cp1252(utf8_text)) return *bytes;
        std::string plain;
        for (const char c : valid_utf8(utf8_text)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) plain += c;
            else if ((byte & 0xC0) != 0x80) plain += '?';
        }
        return plain;
    };
    std::string text = std::to_string(result.written.size()) + std::string(texts::kImportSummaryWritten) +
                       std::to_string(result.skipped.size()) + std::string(texts::kImportSummarySkipped) +
                       (result.cp1252_lines == 0 ? std::string()
                                                 : ", " + std::to_string(result.cp1252_lines) + std::string(texts::kImportCp1252Lines)) +
                       "\r" +
                       std::string(texts::kImportInto) + to_box(folder_shown);
    if (!result.skipped.empty()) text += "\r";
    for (std::size_t i = 0; i < result.skipped.size() && i < max_reasons; ++i) text += "\r" + to_box(result.skipped[i]);
    if (result.skipped.size() > max_reasons)
        text += "\r" + std::string(texts::kImportMore) + std::to_string(result.skipped.size() - max_reasons);
    return text;
}

}  // namespace duoskop
