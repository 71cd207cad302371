// SPDX-License-Identifier: GPL-3.0-or-later
// The core tests run with a home of their own inside the build tree (set before any test starts,
// inherited by the programs they run), so that nothing a program does by default, such as making
// the personal drive C, reaches the home of the one who runs the tests.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const bool home_set = [] {
    const std::string home = DUOSKOP_TEST_HOME;
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("WINEPREFIX", (home + "/.wine").c_str(), 1);
    return true;
}();

}  // namespace
