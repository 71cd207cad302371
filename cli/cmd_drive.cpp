// SPDX-License-Identifier: GPL-3.0-or-later
// drive: which folder stands for drive C and why; keeps or forgets the chosen folder.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "base/cp1252.h"
#include "base/drive_c.h"
#include "base/io_error.h"
#include "cli/cli.h"
#include "cli/options.h"

namespace duoskop::cli {

namespace {

/// Prints the drive in use: its folder, then where it comes from (and why not the personal one).
int show(const std::optional<std::string>& command_line_dir)
{
    const DriveChoice drive = find_drive_c(command_line_dir);
    std::printf("%s\n%s\n", valid_utf8(drive.root.string()).c_str(),
                terminal_text(drive_source_text(drive.source)).c_str());
    if (!drive.problem.empty()) std::fprintf(stderr, "duoskop-cli drive: %s\n", terminal_text(drive.problem).c_str());
    return 0;
}

}  // namespace

constexpr OptionRule drive_rule_table[] = {{"--set", 1, false}, {"--reset", 0, false}, {"--drive-c", 1}};
constinit const std::span<const OptionRule> drive_rules = drive_rule_table;

int cmd_drive(const Args& args)
{
    const ReadOptions o = read_options(args, drive_rules);
    if (!o.ok() || !o.positionals.empty()) return usage("drive");
    const std::optional<std::string> set = o.value("--set");
    const std::optional<std::string> drive_dir = o.value("--drive-c");
    const bool reset = o.has("--reset");
    if (set && reset) return usage("drive");
    if (reset) {
        if (const int error = forget_chosen_drive(); error != 0) {
            std::fprintf(stderr, "duoskop-cli drive: %s: %s\n", valid_utf8(chosen_drive_file().string()).c_str(),
                         terminal_text(io_error_text(error)).c_str());
            return 1;
        }
    }
    if (set) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*set, ec)) {
            std::fprintf(stderr, "duoskop-cli drive: %s ist kein Ordner.\n", valid_utf8(*set).c_str());
            return 1;
        }
        if (const int error = choose_drive(*set); error != 0) {
            std::fprintf(stderr, "duoskop-cli drive: %s: %s\n", valid_utf8(chosen_drive_file().string()).c_str(),
                         terminal_text(io_error_text(error)).c_str());
            return 1;
        }
        if (!holds_chart_folder(*set))
            std::fprintf(stderr, "duoskop-cli drive: Hinweis: %s enth\u00E4lt kein astro/daten.\n",
                         valid_utf8(*set).c_str());
    }
    return show(drive_dir);
}

}  // namespace duoskop::cli
