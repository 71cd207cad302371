// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/draw_common.h"

#include <cstdio>

#include "base/cp1252.h"
#include "cli/cli.h"
#include "desktop/dial_painter.h"

namespace duoskop::cli {

namespace {

// QGuiApplication keeps references to its arguments for its whole life.
int gui_argc = 3;
char gui_arg0[] = "duoskop-cli";
char gui_arg1[] = "-platform";
char gui_arg2[] = "offscreen";
char* gui_argv[] = {gui_arg0, gui_arg1, gui_arg2, nullptr};

}  // namespace

OffscreenGui::OffscreenGui() : app_(gui_argc, gui_argv) {}

bool write_picture(const std::string& path, const QByteArray& bytes)
{
    const std::string error = save_picture(path, bytes);
    if (error.empty()) return true;
    std::fprintf(stderr, "duoskop-cli: %s: %s\n", valid_utf8(path).c_str(), terminal_text(error).c_str());
    return false;
}

}  // namespace duoskop::cli
