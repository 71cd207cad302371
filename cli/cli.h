// The subcommands of duoskop-cli. Each takes the arguments after its name and returns the
// exit status: 0 done, 1 a file failed (message on stderr), 2 wrong usage (usage on stderr).
#pragma once

#include <string>
#include <vector>

namespace duoskop::cli {

using Args = std::vector<std::string>;

int cmd_chart(const Args& args);
int cmd_axes(const Args& args);
int cmd_compare(const Args& args);
int cmd_new_chart(const Args& args);

/// Prints the overall usage text to stderr and returns 2.
int usage();

}  // namespace duoskop::cli
