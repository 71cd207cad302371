// SPDX-License-Identifier: GPL-3.0-or-later
// import and export: chart files from and to the exchange formats AAF and CSV.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_file.h"
#include "base/cp1252.h"
#include "base/file_writer.h"
#include "base/io_error.h"
#include "birth/exchange.h"
#include "kartei/exchange_files.h"
#include "ranking/ranking.h"
#include "cli/cli.h"
#include "cli/options.h"

namespace duoskop::cli {

namespace {

std::string slurp_file(const std::filesystem::path& path, std::string& error)
{
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = io_error_text(errno);
        return {};
    }
    std::string bytes;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, n);
    if (std::ferror(file.get())) error = read_error_text(file.get());
    return bytes;
}

int summary(int written, int skipped, std::size_t cp1252_lines = 0, std::size_t unchanged = 0)
{
    std::printf("%d geschrieben, %d \u00FCbersprungen", written, skipped);
    if (unchanged > 0) std::printf(", %zu schon vorhanden", unchanged);
    if (cp1252_lines > 0) std::printf(", %zu Zeilen als Windows-1252 gelesen", cp1252_lines);
    std::printf("\n");
    return skipped > 0 ? 1 : 0;
}

}  // namespace

constexpr OptionRule import_rule_table[] = {{"--to", 1, false}, {"--force"}};
constinit const std::span<const OptionRule> import_rules = import_rule_table;
constexpr OptionRule export_rule_table[] = {{"--aaf", 1, false}, {"--drive-c", 1, false}};
constinit const std::span<const OptionRule> export_rules = export_rule_table;

int cmd_import(const Args& args)
{
    const ReadOptions o = read_options(args, import_rules);
    if (!o.ok() || o.positionals.size() != 1 || !o.has("--to")) return usage("import");
    const std::optional<std::string> file = o.positionals.front();
    const std::optional<std::string> dir = o.value("--to");
    const bool force = o.has("--force");
    if (!std::filesystem::is_directory(*dir)) {
        std::fprintf(stderr, "duoskop-cli import: %s: kein Ordner\n", valid_utf8(*dir).c_str());
        return 1;
    }
    std::string atlas_error;
    const auto atlas = Atlas::load(atlas_path(), atlas_error);  // without it only complete records import
    // The chart index's import: the same checks, file names and refusals of case-only twins.
    const ImportResult result = import_charts(*file, *dir, "", atlas ? &*atlas : nullptr, force);
    if (!result.error.empty()) {
        std::fprintf(stderr, "duoskop-cli import: %s: %s\n", valid_utf8(*file).c_str(), result.error.c_str());
        return 1;
    }
    for (std::size_t i = 0; i < result.skipped_lines.size(); ++i)
        std::fprintf(stderr, "%s:%zu: %s\n", valid_utf8(*file).c_str(), result.skipped_lines[i],
                     result.skipped_reasons[i].c_str());
    for (const ImportResult::Note& note : result.notes)
        std::fprintf(stderr, "%s:%zu: %s\n", valid_utf8(*file).c_str(), note.line, note.text.c_str());
    return summary(static_cast<int>(result.written.size()), static_cast<int>(result.skipped.size()), result.cp1252_lines,
                   result.unchanged.size());
}

int cmd_export(const Args& args)
{
    const ReadOptions o = read_options(args, export_rules);
    if (!o.ok() || o.positionals.empty() || !o.has("--aaf")) return usage("export");
    const std::optional<std::string> target = o.value("--aaf");
    const std::optional<std::string> drive_dir = o.value("--drive-c");
    const std::vector<std::string>& sources = o.positionals;
    const DriveC drive = DriveC::locate(drive_dir);

    std::vector<chart_record> records;
    int skipped = 0;
    const auto take = [&](const std::filesystem::path& path, bool named) {
        std::string error;
        const std::string bytes = slurp_file(path, error);
        const std::string base = path.filename().string();
        const auto base_ansi = utf8_to_cp1252(base);
        if (error.empty() && bytes.size() < chart_record_size) error = io_error_text(0);
        std::optional<chart_record> record;
        if (error.empty()) {
            record = read_chart_record(std::span<const unsigned char, chart_record_size>(
                reinterpret_cast<const unsigned char*>(bytes.data()), chart_record_size));
            if (!base_ansi || !name_check(*base_ansi, *record)) error = "keine Horoskop-Datei";
        }
        const std::string shown = valid_utf8(path.string());
        if (!error.empty()) {
            if (named) {  // in a folder, files that are no chart files are passed over
                std::fprintf(stderr, "duoskop-cli export: %s: %s\n", shown.c_str(), cp1252_to_utf8(error).c_str());
                ++skipped;
            }
            return;
        }
        // A chart that loads but that AAF cannot carry is named and counted, wherever it lies.
        if (const auto refusal = aaf_refusal(*record)) {
            std::fprintf(stderr, "duoskop-cli export: %s: %s\n", shown.c_str(), refusal->c_str());
            ++skipped;
            return;
        }
        if (const auto note = aaf_note(*record))
            std::fprintf(stderr, "duoskop-cli export: %s: %s\n", shown.c_str(), note->c_str());
        records.push_back(*record);
    };
    for (const auto& source : sources) {
        std::error_code ec;
        const std::string found = chart_file_path(source, drive);  // a relative name also in drive C
        if (std::filesystem::is_directory(found, ec)) {
            // Every file in the folder and its subfolders (where the chart index puts a second
            // person of the same name), taken as rank takes them.
            const PartnerFiles files = find_partner_files({found}, "");
            for (const RankProblem& problem : files.problems) {
                std::fprintf(stderr, "duoskop-cli export: %s: %s\n", valid_utf8(problem.path).c_str(),
                             terminal_text(problem.message).c_str());
                ++skipped;
            }
            for (const std::string& f : files.files) take(f, false);
        } else {
            take(found, true);
        }
    }
    // Nothing to write: the target stays as it is (an export that finds no chart must not empty it).
    if (records.empty()) {
        std::fprintf(stderr, "duoskop-cli export: %s: nicht geschrieben, denn keine Quelle ergab eine Horoskop-Datei "
                             "f\u00FCr AAF; die Datei bleibt, wie sie war\n",
                     valid_utf8(*target).c_str());
        summary(0, skipped);
        return 1;
    }
    const WriteResult result = write_file_whole(*target, write_aaf(records));
    if (!result.ok()) {
        std::fprintf(stderr, "duoskop-cli export: %s: %s\n", valid_utf8(*target).c_str(),
                     cp1252_to_utf8(result.message()).c_str());
        return 1;
    }
    return summary(static_cast<int>(records.size()), skipped);
}

}  // namespace duoskop::cli
