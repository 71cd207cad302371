#include "cli/cli.h"

namespace duoskop::cli {

int cmd_axes(const Args&) { return usage(); }
int cmd_compare(const Args&) { return usage(); }

}  // namespace duoskop::cli
