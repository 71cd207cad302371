// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <string>

#include "cli/cli.h"

namespace duoskop::cli {

int usage()
{
    std::fputs(
        "usage: duoskop-cli chart [--raw] [--drive-c DIR] FILE...\n"
        "       duoskop-cli axes P1 P2 [--report FILE] [--drive-c DIR]\n"
        "       duoskop-cli compare P1 P2 --analysis solar|double|simple|halfsum|list\n"
        "                   --double ORB --simple ORB [--halfsum ORB] [--report FILE]\n"
        "                   [--entries FILE] [--export-texts bilder|alle FILE] [--drive-c DIR]\n"
        "       duoskop-cli new-chart FILE --name N --first-name F --date DD.MM.YYYY\n"
        "                   --time HH:MM:SS --longitude L --latitude B [--extra X] [--force]\n",
        stderr);
    return 2;
}

}  // namespace duoskop::cli

int main(int argc, char** argv)
{
    using namespace duoskop::cli;
    if (argc < 2) return usage();
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "chart") return cmd_chart(args);
    if (command == "axes") return cmd_axes(args);
    if (command == "compare") return cmd_compare(args);
    if (command == "new-chart") return cmd_new_chart(args);
    return usage();
}
