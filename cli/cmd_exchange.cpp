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
#include "cli/cli.h"

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

int summary(int written, int skipped)
{
    std::printf("%d geschrieben, %d \u00FCbersprungen\n", written, skipped);
    return skipped > 0 ? 1 : 0;
}

}  // namespace

int cmd_import(const Args& args)
{
    std::optional<std::string> file, dir;
    bool force = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--to" && i + 1 < args.size() && !dir) dir = args[++i];
        else if (args[i] == "--force") force = true;
        else if (args[i].starts_with("--") || file) return usage("import");
        else file = args[i];
    }
    if (!file || !dir) return usage("import");

    std::string error;
    const std::string bytes = slurp_file(*file, error);
    if (!error.empty()) {
        std::fprintf(stderr, "duoskop-cli import: %s: %s\n", valid_utf8(*file).c_str(), cp1252_to_utf8(error).c_str());
        return 1;
    }
    if (!std::filesystem::is_directory(*dir)) {
        std::fprintf(stderr, "duoskop-cli import: %s: kein Ordner\n", valid_utf8(*dir).c_str());
        return 1;
    }
    std::string atlas_error;
    const auto atlas = Atlas::load(atlas_path(), atlas_error);  // without it only complete records import
    const auto records = looks_like_aaf(bytes) ? read_aaf(bytes, atlas ? &*atlas : nullptr)
                                               : read_csv(bytes, atlas ? &*atlas : nullptr);

    int written = 0, skipped = 0;
    std::map<std::string, std::size_t> names_written;  // file name -> line, within this run
    const auto skip = [&](std::size_t line, const std::string& why) {
        std::fprintf(stderr, "%s:%zu: %s\n", valid_utf8(*file).c_str(), line, cp1252_to_utf8(why).c_str());
        ++skipped;
    };
    for (const ImportedRecord& r : records) {
        if (!r.data) {
            skip(r.line, r.error);
            continue;
        }
        std::string why;
        const auto record = chart_record_of(*r.data, why);
        if (!record) {
            skip(r.line, why);
            continue;
        }
        // The program loads a chart file only when its name up to the first '.' is the person's name.
        const std::string name = cp1252_to_utf8(record->name);
        if (name.find('/') != std::string::npos || name.starts_with('.') || name.find('\0') != std::string::npos) {
            skip(r.line, "Der Name \"" + record->name + "\" taugt nicht als Dateiname.");
            continue;
        }
        const std::string file_name = name + ".dat";
        if (const auto earlier = names_written.find(file_name); earlier != names_written.end()) {
            skip(r.line, "Der Name \"" + record->name + "\" kam schon in Zeile " + std::to_string(earlier->second) +
                             " vor; die Datei wird nicht zweimal geschrieben.");
            continue;
        }
        const WriteResult result = write_file_whole(std::filesystem::path(*dir) / file_name,
                                                    chart_record_bytes(*record),
                                                    force ? Replace::allowed : Replace::refused);
        if (!result.ok()) {
            skip(r.line, file_name + ": " +
                             (result.error == EEXIST ? std::string("die Datei gibt es schon (--force ersetzt sie).")
                                                     : cp1252_to_utf8(result.message())));
            continue;
        }
        names_written[file_name] = r.line;
        ++written;
    }
    return summary(written, skipped);
}

int cmd_export(const Args& args)
{
    std::optional<std::string> target;
    std::vector<std::string> sources;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--aaf" && i + 1 < args.size() && !target) target = args[++i];
        else if (args[i].starts_with("--")) return usage("export");
        else sources.push_back(args[i]);
    }
    if (!target || sources.empty()) return usage("export");

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
            else if (!valid_civil_time(chart_data_of(*record).ut)) error = "Datum oder Zeit ung\xFCltig";
        }
        if (error.empty()) {
            records.push_back(*record);
        } else if (named) {  // in a folder, files that are no chart files are passed over
            std::fprintf(stderr, "duoskop-cli export: %s: %s\n", valid_utf8(path.string()).c_str(),
                         cp1252_to_utf8(error).c_str());
            ++skipped;
        }
    };
    for (const auto& source : sources) {
        std::error_code ec;
        if (std::filesystem::is_directory(source, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(source, ec))
                if (entry.is_regular_file(ec)) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& f : files) take(f, false);
        } else {
            take(source, true);
        }
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
