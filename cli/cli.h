// SPDX-License-Identifier: GPL-3.0-or-later
// The subcommands of duoskop-cli. Each takes the arguments after its name and returns the
// exit status: 0 done, 1 a file failed (message on stderr), 2 wrong usage (usage on stderr).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/chart_state.h"
#include "base/drive_c.h"
#include "cli/options.h"
#include "places/atlas.h"
#include "precise/precise_positions.h"
#include "results/result_text.h"
#include "timeprobe/time_probe.h"

namespace duoskop::cli {

using Args = std::vector<std::string>;

/// The option rules of each command (options.h): what `read_options` reads, and what tells a
/// call for help (`--help` where an option stands) from an option's value (`--first-name -h`).
extern const std::span<const OptionRule> chart_rules;
extern const std::span<const OptionRule> axes_rules;
extern const std::span<const OptionRule> compare_rules;
extern const std::span<const OptionRule> new_chart_rules;
extern const std::span<const OptionRule> places_rules;
extern const std::span<const OptionRule> import_rules;
extern const std::span<const OptionRule> export_rules;
extern const std::span<const OptionRule> rank_rules;
extern const std::span<const OptionRule> drive_rules;
extern const std::span<const OptionRule> midpoints_rules;
extern const std::span<const OptionRule> timeline_rules;
extern const std::span<const OptionRule> texts_rules;
extern const std::span<const OptionRule> dial_rules;
extern const std::span<const OptionRule> report_rules;
extern const std::span<const OptionRule> ephemeris_rules;

int cmd_chart(const Args& args);
int cmd_axes(const Args& args);
int cmd_compare(const Args& args);
int cmd_new_chart(const Args& args);
int cmd_places(const Args& args);
int cmd_import(const Args& args);
int cmd_export(const Args& args);
int cmd_rank(const Args& args);
/// `timeline P1 P2 --from TT.MM.JJJJ --to TT.MM.JJJJ ...`: solar arcs and transits onto the pair.
int cmd_timeline(const Args& args);
/// `drive [--set DIR | --reset]`: the folder of drive C and where it comes from.
int cmd_drive(const Args& args);
/// `midpoints P1 P2 ...`: the sorted midpoint list of a dial, or the midpoint tree at a pointer.
int cmd_midpoints(const Args& args);
/// `dial P1 [P2] ...`: the dial as PNG or SVG.
int cmd_dial(const Args& args);
/// The command list line, call and German help text of `dial` (UTF-8), kept beside the command.
extern const std::string_view dial_summary;
extern const std::string_view dial_call;
extern const std::string_view dial_help;
/// `ephemeris P1 P2 ...`: the graphic ephemeris of the pair as PNG, SVG and PDF.
int cmd_ephemeris(const Args& args);
/// The command list line, call and German help text of `ephemeris` (UTF-8), kept beside the command.
extern const std::string_view ephemeris_summary;
extern const std::string_view ephemeris_call;
extern const std::string_view ephemeris_help;
/// `report P1 P2 ...`: the client's report as PDF, ODT and HTML.
int cmd_report(const Args& args);
/// The command list line, call and German help text of `report` (UTF-8), kept beside the command.
extern const std::string_view report_summary;
extern const std::string_view report_call;
extern const std::string_view report_help;

/// `texts show|search|export|import|coverage|versions|restore`: the text library.
int cmd_texts(const Args& args);
extern const std::string_view texts_summary;
extern const std::string_view texts_call;
extern const std::string_view texts_help;

/// `compare ... --export-texts bilder|alle FILE`: writes the interpretation texts of all result
/// entries of `result` to `path` exactly as the export to a file does. Returns the exit status.
int write_export_texts(const std::string& scope, const std::string& path, const ResultText& result,
                       const ChartState& chart, const DriveC& drive);

/// The chart file named `given` on the command line: as given when it exists or is an absolute
/// path; else (a relative name not found from the working folder) the file of that name in drive
/// C's astro\daten, where the program's open dialog starts, matched as drive C matches names;
/// when that does not exist either, `given`, so that loading it fails as usual.
std::string chart_file_path(const std::string& given, const DriveC& drive);

/// Loads person 1 and person 2 as the program does, each found as chart_file_path finds it; on
/// failure prints the program's message on stderr and returns false. With `name_file` the message
/// stands after "duoskop-cli: FILE: " (the commands that print a table of their own).
bool load_persons(const std::string& path1, const std::string& path2, const DriveC& drive,
                  PositionSource source, ChartState& chart, bool name_file = false);

/// The option of every command that computes positions: SO, MO and ME to PL from the precise
/// source (precise/precise_positions.h). A command takes it as `PositionSource::precise` and hands
/// it to `holen`.
inline constexpr std::string_view precise_option = "--precise";

/// The one conversion of the core's texts (Windows-1252: messages, report lines, record fields) for
/// the terminal: UTF-8, the "\r" line breaks of messages as new lines.
std::string terminal_text(const std::string& text);

/// The value of `--time-window`: "N1" or "N1,N2", whole minutes 0..720 for each birth time; N2
/// defaults to N1. Nothing when the text is not such a value.
std::optional<TimeWindow> parse_time_window(const std::string& text);

/// The place atlas that ships with the programs; nothing (and a message on stderr) when it cannot be read.
std::optional<Atlas> open_atlas(const char* command);

/// `value` with `decimals` decimals, without going through the locale; never "-0.0000".
std::string decimal_text(double value, int decimals);

/// Prints the calls of all commands to stderr and returns 2.
int usage();
/// Prints the call of `command` (its name in the command table) to stderr and returns 2.
int usage(std::string_view command);

}  // namespace duoskop::cli
