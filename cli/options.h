// SPDX-License-Identifier: GPL-3.0-or-later
// The one reader of every command's options. One convention for all commands:
//   - "--" ends the options; every argument after it is a positional one (a file named --help);
//   - an argument of two or more characters that begins with '-' is an option ("-" alone is not);
//   - an option takes as many arguments after it as its table says, whatever they look like
//     (`--longitude -8.5`); too few are a wrong call;
//   - an option not in the command's table is a wrong call;
//   - an option given twice is a wrong call unless its table lets it repeat: then the last counts;
//   - `-h`/`--help` and `--version` wherever an option may stand before "--" ask for help and the
//     version, but not as an option's value (`--first-name -h` is the first name "-h")
//     (help_or_version; main.cpp answers them before the command runs).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace duoskop::cli {

/// The arguments after a command's name (as in cli.h).
using Args = std::vector<std::string>;

/// One option of a command.
struct OptionRule {
    std::string_view name;  ///< as typed: "--raw"
    int values = 0;         ///< arguments that follow it: 0 a flag, else 1 or 2
    bool repeats = true;    ///< false: a second time is a wrong call; true: the last one counts
};

/// What read_options found.
struct ReadOptions {
    struct Given {
        std::string_view name;
        std::vector<std::string> values;
    };
    std::vector<std::string> positionals;
    std::vector<Given> given;  ///< the options in the order given
    std::string problem;       ///< the German reason (UTF-8) of a wrong call; empty when the call reads

    bool ok() const { return problem.empty(); }
    bool has(std::string_view name) const;
    /// The values of the last time `name` was given; nothing when it was not.
    std::optional<std::vector<std::string>> values(std::string_view name) const;
    /// The first value of the last time `name` was given.
    std::optional<std::string> value(std::string_view name) const;
    /// The first value of each time `name` was given, in order.
    std::vector<std::string> each(std::string_view name) const;
};

/// Reads `args` (the arguments after the command's name) by the table `options`.
ReadOptions read_options(const Args& args, std::span<const OptionRule> options);

enum class Request { none, help, version };
/// `-h`/`--help` or `--version` (the first of them counts) where an option may stand before "--",
/// read by the command's `rules` as `read_options` reads them, so that an option's value is never
/// taken for one: what the call asks instead of the command. An option the rules do not know
/// takes no value here (the call is wrong anyway; asking for help is what helps).
Request help_or_version(const Args& args, std::span<const OptionRule> rules);

/// A number of degrees given on the command line, such as a pointer: "7,5" and "7.5" are 7.5, any
/// finite decimal number; nothing for another text (a wrong call).
std::optional<double> parse_degrees(std::string text);

/// A whole number given on the command line, from `min` to `max` (decimal digits, an optional
/// minus sign); nothing for another text or a number outside (a wrong call).
std::optional<long long> parse_whole(std::string_view text, long long min, long long max);

/// The parts of an option's value between `separator`s ("a,,b" gives "a", "", "b"; "" gives one
/// empty part).
std::vector<std::string> split(const std::string& text, char separator);

/// An orb given on the command line, read as the main window's orb fields read it ("1,5" and
/// "1.5" are 1.5, "25" is 2.0); nothing for a text the fields would refuse (a wrong call).
std::optional<double> parse_orb(const std::string& text);

}  // namespace duoskop::cli
