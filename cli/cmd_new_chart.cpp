#include "cli/cli.h"

namespace duoskop::cli {

int cmd_new_chart(const Args&) { return usage(); }

}  // namespace duoskop::cli
