// SPDX-License-Identifier: GPL-3.0-or-later
// Extras > "&Laufwerk C: …": shows the drive C in use and why, and in one box offers another
// folder (offering to make its astro\daten), the default again, or nothing ("Abbrechen", the
// default button). The choice holds from the next start on, for both desktop programs and
// duoskop-cli.
#pragma once

#include <string>

#include "base/desktop.h"
#include "base/drive_c.h"

namespace duoskop {

/// The whole exchange, in boxes and the folder dialog of `desktop`; `in_use` is the running
/// program's drive C with the source it was found by.
void choose_drive_c(Desktop& desktop, const DriveC& in_use);

/// What the box says about drive C (Windows-1252): the folder in use and its source, and the
/// folder of the next start when that differs.
std::string drive_c_description(const DriveC& in_use);

}  // namespace duoskop
