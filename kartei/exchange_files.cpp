// SPDX-License-Identifier: GPL-3.0-or-later
#include "kartei/exchange_files.h"

#include <cerrno>
#include <cstdint>
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

/// The chart record at the start of `path` when it holds one (77 bytes or more), else nothing.
std::optional<chart_record> chart_in(const std::filesystem::path& path)
{
    std::string error;
    const std::string bytes = read_whole(path, error);
    if (!error.empty() || bytes.size() < chart_record_size) return std::nullopt;
    return read_chart_record(std::span<const unsigned char, chart_record_size>(
        reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
}

/// "U+015F": the number of the one character `utf8` holds (valid UTF-8).
std::string code_point_text(std::string_view utf8)
{
    const auto lead = static_cast<unsigned char>(utf8[0]);
    std::uint32_t code = utf8.size() == 1 ? lead : lead & (0x7F >> utf8.size());
    for (std::size_t i = 1; i < utf8.size(); ++i) code = code << 6 | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
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
    // One listing of the folder for every record's case twins, one sync of it at the end.
    ChartBatch batch(root, folder);
    std::map<std::string, std::size_t> names_written;  // case_twin_key of the file name -> line, this run
    for (const ImportedRecord& r : read.records) {
        if (!r.record) {
            skip(r.line, r.error);
            continue;
        }
        const std::string key = case_twin_key(r.file_name);
        if (const auto earlier = names_written.find(key); earlier != names_written.end()) {
            skip(r.line, "Der Name \"" + utf8(r.record->name) + "\" kam schon in Zeile " + std::to_string(earlier->second) +
                             " vor; die Datei wird nicht zweimal geschrieben.");
            continue;
        }
        const SaveResult saved = batch.save(*r.record, replace);
        if (saved.outcome == SaveResult::Outcome::taken) {
            // The file in the way may be this very chart (imported before) or this person's with
            // other data; only a file of someone else belongs to another person.
            const std::optional<chart_record> there = chart_in(saved.path);
            if (there && chart_record_bytes(*there) == chart_record_bytes(*r.record)) {
                result.unchanged.push_back(saved.path);
                names_written.emplace(key, r.line);
                continue;
            }
            if (there && there->name == r.record->name && there->first_name == r.record->first_name) {
                skip(r.line, utf8(r.record->name) + ": " + utf8(texts::kImportSamePersonBefore) +
                                 valid_utf8(saved.path.filename().string()) + utf8(texts::kImportSamePersonAfter));
                continue;
            }
        }
        if (saved.outcome != SaveResult::Outcome::written) {
            skip(r.line, utf8(r.record->name) + ": " + saved.message);
            continue;
        }
        result.written.push_back(saved.path);
        names_written.emplace(key, r.line);
        if (!r.note.empty()) result.notes.push_back({r.line, r.note});
    }
    result.folder_syncs = batch.finish();
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
    // Nothing to write: an existing file at `target` stays as it is.
    if (records.empty()) {
        result.error = utf8(texts::kExportNothing);
        return result;
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
        // Box texts are Windows-1252; a character it cannot hold (such as the refused one a reason
        // names) is shown by its number, U+015F, rather than as a question mark.
        const std::string text = valid_utf8(utf8_text);
        std::string box;
        for (std::size_t i = 0; i < text.size();) {
            std::size_t end = i + 1;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
            const std::string_view piece = std::string_view(text).substr(i, end - i);
            if (const auto byte = utf8_to_cp1252(piece)) box += *byte;
            else box += code_point_text(piece);
            i = end;
        }
        return box;
    };
    std::string text = std::to_string(result.written.size()) + std::string(texts::kImportSummaryWritten) +
                       std::to_string(result.skipped.size()) + std::string(texts::kImportSummarySkipped) +
                       (result.unchanged.empty() ? std::string()
                                                 : ", " + std::to_string(result.unchanged.size()) + std::string(texts::kImportUnchanged)) +
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
