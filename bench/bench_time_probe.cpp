// SPDX-License-Identifier: GPL-3.0-or-later
// The time probe of all five comparisons of one sample chart pair, both birth times shifted by
// the same window; wall time, as the probe runs on two threads, and the CPU time of both.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/sample_pair.h"
#include "timeprobe/time_probe.h"

namespace {

using namespace duoskop;

void BM_time_window(benchmark::State& state)
{
    const ChartState chart = bench::sample_pair("KRANICH.dat");
    const Orbs orbs{1.0, 0.5, 0.3};
    std::vector<ProbeTarget> targets;
    std::size_t entries = 0;
    for (const Comparison comparison : all_comparisons) {
        targets.push_back({comparison, run_comparison(comparison, chart, orbs).entries});
        entries += targets.back().entries.size();
    }
    const int n = static_cast<int>(state.range(0));
    std::size_t fest = 0;
    for (auto _ : state) {
        for (const auto& stabilities : time_probe(targets, chart, orbs, TimeWindow{n, n}))
            for (const EntryStability& s : stabilities) fest += holds_over(s, TimeWindow{n, n});
        benchmark::DoNotOptimize(fest);
    }
    state.counters["entries"] = static_cast<double>(entries);
}
// CPU: both threads together; on an idle machine the wall time lies near half of it.
BENCHMARK(BM_time_window)->Arg(4)->Arg(720)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
