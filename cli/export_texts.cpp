#include <cstdio>

#include "cli/cli.h"

namespace duoskop::cli {

int write_export_texts(const std::string&, const std::string&, const ResultText&, const ChartState&,
                       const DriveC&)
{
    std::fputs("duoskop-cli: --export-texts is not available yet\n", stderr);
    return 1;
}

}  // namespace duoskop::cli
