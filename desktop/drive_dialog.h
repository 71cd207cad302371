// SPDX-License-Identifier: GPL-3.0-or-later
// Extras > "&Laufwerk C: …": shows the drive C in use and why, lets the user choose another folder
// (offering to make its astro\daten) or go back to the default. The choice holds from the next
// start on, for both desktop programs and duoskop-cli.
#pragma once

#include "base/desktop.h"
#include "base/drive_c.h"

namespace duoskop {

/// The whole exchange, in boxes and the folder dialog of `desktop`; `in_use` is the running
/// program's drive C (which `--drive-c` may have set).
void choose_drive_c(Desktop& desktop, const DriveC& in_use);

}  // namespace duoskop
