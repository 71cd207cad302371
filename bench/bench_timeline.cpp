// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the hits in time: a century (1.1.1950-31.12.2049) of the sample pair ALBRECHT and
// HOLLMANN, all movers, the targets faktoren and kreuz, the TSV text made as duoskop-cli makes it,
// beside the chart computation for one chart a day of that century (BM_f_rechnen x 36,525). The
// counter "x_f_rechnen" is the timeline's time over that of the 36,525 charts, both measured in
// the same run.
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "bench/sample_pair.h"
#include "astro/calendar.h"
#include "astro/std_ho.h"
#include "precise/precise_positions.h"
#include "timeline/timeline.h"
#include "timeline/timeline_export.h"

using namespace duoskop;

using bench::sample_pair;

namespace {

constexpr int century_days = 36525;

/// One chart a day of the century, as BM_f_rechnen computes one; CPU seconds.
double f_rechnen_century()
{
    const auto start = std::clock();
    for (int day = 0; day < century_days; ++day) {
        BirthData birth{1, 1, 1950, 0.0, 10.0, 53.55};
        birth.birth_day = 1 + day;  // the chart calendar counts a day beyond the month on
        Positions p = f_rechnen(birth);
        benchmark::DoNotOptimize(p);
    }
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void run_century(benchmark::State& state, PositionSource transits)
{
    const ChartState chart = sample_pair();
    TimelineRequest request;
    request.from = chart_julian_day0(1950, 1, 1);
    request.to = chart_julian_day0(2050, 1, 1);
    request.transit_source = transits;
    request.targets = {false, {true, false, true}, {}};
    std::size_t hits = 0;
    double timeline_cpu = 0;
    for (auto _ : state) {
        const auto start = std::clock();
        const Timeline t = compute_timeline(chart, request);
        const std::string tsv = timeline_tsv(t, {});
        benchmark::DoNotOptimize(tsv.data());
        timeline_cpu += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        hits = t.hits.size();
    }
    const double charts = f_rechnen_century();
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["f_rechnen_century_s"] = charts;
    state.counters["x_f_rechnen"] = timeline_cpu / static_cast<double>(state.iterations()) / charts;
}

}  // namespace

// The chart computation for every day of a century: the yardstick.
static void BM_f_rechnen_century(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(f_rechnen_century());
}
BENCHMARK(BM_f_rechnen_century)->Unit(benchmark::kMillisecond);

// Transits from the theory (--transits-from theorie): at most 3 x BM_f_rechnen_century.
static void BM_timeline_century(benchmark::State& state) { run_century(state, PositionSource::theory); }
BENCHMARK(BM_timeline_century)->Unit(benchmark::kMillisecond);

// Transits from the precise positions (the default): at most 1.5 x BM_timeline_century.
static void BM_timeline_century_genau(benchmark::State& state) { run_century(state, PositionSource::precise); }
BENCHMARK(BM_timeline_century_genau)->Unit(benchmark::kMillisecond)->Iterations(1);
