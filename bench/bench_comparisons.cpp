// SPDX-License-Identifier: GPL-3.0-or-later
// All five comparisons of one sample chart pair, each with the bytes of its saved report.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "analysis/comparisons.h"
#include "bench/sample_pair.h"
#include "results/report.h"

namespace {

using namespace duoskop;
using bench::sample_pair;

void BM_all_comparisons(benchmark::State& state)
{
    const ChartState chart = sample_pair("KRANICH.dat");
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
