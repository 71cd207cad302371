#include "cli/cli.h"

namespace duoskop::cli {

int cmd_chart(const Args&) { return usage(); }

}  // namespace duoskop::cli
