// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshots of the real windows for the documentation: the program runs a fixed road through
// its menu on the sample drive and saves what the windows show as PNG files.
#pragma once

#include <string>

#include "base/drive_c.h"

namespace duoskop {

/// Loads the first two chart files of drive C's astro/daten as persons 1 and 2, enters the orbs
/// 1,0 and 0,5, runs the simple complements and saves main.png, info.png, result.png and dial.png
/// (the dial window turned to the first result entry) in `dir`, the same on the other dial sizes
/// (dial-360.png, dial-90.png, dial-45.png, dial-11.25.png); then kartei.png (the chart index)
/// and kartei_dialog.png (its dialog editing the first chart).
/// Every message box is answered at once. Returns the program's exit status.
int take_screenshots(const DriveC& drive, const std::string& dir);

/// The same road, fewer windows, each saved with `suffix` before ".png": the dial window, and with
/// `with_main_and_timeline` also the main window and the hits in time of 2024 ("Auslösungen").
int take_variant_screenshots(const DriveC& drive, const std::string& dir, const std::string& suffix,
                             bool with_main_and_timeline);

}  // namespace duoskop
