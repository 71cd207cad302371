// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted midpoint list and the midpoint tree at the pointer of a sample pair (946 points), on
// the 22.5-degree dial and on the 360-degree one.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/sample_pair.h"
#include "dialview/midpoints.h"

namespace {

using namespace duoskop;
using bench::sample_pair;

// Argument: the dial's modulus in hundredths of a degree.
void BM_midpoint_list(benchmark::State& state)
{
    const ChartState chart = sample_pair();
    const double modulus = static_cast<double>(state.range(0)) / 100;
    for (auto _ : state) benchmark::DoNotOptimize(sorted_midpoints(chart.pos1, &chart.pos2, modulus));
}
BENCHMARK(BM_midpoint_list)->Arg(2250)->Arg(36000)->Unit(benchmark::kMicrosecond);

// A turn of the pointer in the window: the tree at a new place with an orb of 1 degree.
void BM_midpoint_tree(benchmark::State& state)
{
    const ChartState chart = sample_pair();
    const double modulus = static_cast<double>(state.range(0)) / 100;
    double pointer = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pointer_tree(chart.pos1, &chart.pos2, pointer, 1.0, modulus));
        pointer += 0.37;
    }
}
BENCHMARK(BM_midpoint_tree)->Arg(2250)->Arg(36000)->Unit(benchmark::kMicrosecond);

}  // namespace
