// SPDX-License-Identifier: GPL-3.0-or-later
// All five comparisons of one sample chart pair, each with the bytes of its saved report.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "analysis/comparisons.h"
#include "app/chart_file.h"
#include "results/report.h"

namespace {

using namespace duoskop;

ChartState sample_pair()
{
    const std::string dir = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/";
    ChartState chart;
    if (holen(dir + "ALBRECHT.dat", 1, chart).outcome != LoadOutcome::loaded ||
        holen(dir + "KRANICH.dat", 2, chart).outcome != LoadOutcome::loaded)
        std::abort();
    return chart;
}

void BM_all_comparisons(benchmark::State& state)
{
    const ChartState chart = sample_pair();
    const Orbs orbs{1.0, 0.5, 0.3};
    std::size_t bytes = 0;
    for (auto _ : state) {
        FirstTimeFlags flags;
        HalfsumCount halfsum_count{};
        bytes += text_file_bytes(solar_axes(chart, orbs, flags).lines).size();
        bytes += text_file_bytes(double_complements(chart, orbs, flags).lines).size();
        bytes += text_file_bytes(simple_complements(chart, orbs, flags, halfsum_count).lines).size();
        bytes += text_file_bytes(halfsum_evaluation(chart, orbs, halfsum_count).lines).size();
        bytes += text_file_bytes(mc_as_list(chart, orbs).lines).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_all_comparisons)->Unit(benchmark::kMicrosecond);

}  // namespace
