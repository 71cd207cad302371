// SPDX-License-Identifier: GPL-3.0-or-later
// The chart pair of the shipped sample drive that the benchmarks measure: ALBRECHT as person 1 and
// a second sample chart as person 2. A benchmark without its charts measures nothing: stop.
#pragma once

#include <cstdlib>
#include <string>

#include "app/chart_file.h"

namespace duoskop::bench {

inline ChartState sample_pair(const char* person2 = "HOLLMANN.dat")
{
    const std::string dir = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    ChartState chart;
    if (holen(dir + "ALBRECHT.dat", 1, chart).outcome != LoadOutcome::loaded ||
        holen(dir + person2, 2, chart).outcome != LoadOutcome::loaded)
        std::abort();
    return chart;
}

}  // namespace duoskop::bench
