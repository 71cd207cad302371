// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the precise positions from the position table: one body, a daily century of charts
// with the table mapped afresh (cold pages) against the same century with the theory, and
// opening the table. BM_f_rechnen and BM_f_rechnen_precise (bench_chart.cpp) compare one chart.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "astro/std_ho.h"
#include "precise/precise_positions.h"
#include "precise/precise_table.h"

using namespace duoskop;

namespace {

const InstalledTable& table_or_skip(benchmark::State& state)
{
    const InstalledTable& installed = installed_precise_table();
    if (!installed.table) state.SkipWithError("no position table");
    return installed;
}

constexpr double century_start = 2433282.5;  // 1 January 1950, 0h UT
constexpr int century_days = 36525;

}  // namespace

// One body's longitude from the table: the ten bodies in turn, at instants a prime number of
// hours apart, so that every call lands in another place of the table.
static void BM_precise_body(benchmark::State& state)
{
    const InstalledTable& installed = table_or_skip(state);
    if (!installed.table) return;
    const PreciseTable& table = *installed.table;
    double jde = 2440000.5, sum = 0;
    std::size_t body = 0;
    for (auto _ : state) {
        const auto l = table.longitude(precise_body(body), jde);
        sum += l ? *l : 0;
        body = body + 1 == precise_body_count ? 0 : body + 1;
        jde += 13.0 / 24;
        if (jde > 2480000.5) jde = 2440000.5;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_precise_body);

// 36,525 charts a day apart (1950-2049) with precise positions, the table mapped afresh each
// time, so that its pages are cold and each block is checked again.
static void BM_precise_century(benchmark::State& state)
{
    const InstalledTable& installed = table_or_skip(state);
    if (!installed.table) return;
    const GeoPlace place{10, 53.55};
    for (auto _ : state) {
        std::string error;
        const auto table = PreciseTable::open(installed.path, error);
        if (!table) {
            state.SkipWithError("the position table cannot be opened");
            return;
        }
        for (int d = 0; d < century_days; ++d) {
            Positions p = positions_at(instant_at(century_start + d + 0.5), place, PositionSource::precise, table.get());
            benchmark::DoNotOptimize(p);
        }
    }
    state.counters["charts"] = century_days;
}
BENCHMARK(BM_precise_century)->Unit(benchmark::kMillisecond);

// The same century with the theory alone.
static void BM_theory_century(benchmark::State& state)
{
    const GeoPlace place{10, 53.55};
    for (auto _ : state) {
        for (int d = 0; d < century_days; ++d) {
            Positions p = positions_at(instant_at(century_start + d + 0.5), place, PositionSource::theory);
            benchmark::DoNotOptimize(p);
        }
    }
    state.counters["charts"] = century_days;
}
BENCHMARK(BM_theory_century)->Unit(benchmark::kMillisecond);

// Opening the table: mapping it and checking its header and index.
static void BM_precise_table_open(benchmark::State& state)
{
    const InstalledTable& installed = table_or_skip(state);
    if (!installed.table) return;
    for (auto _ : state) {
        std::string error;
        auto table = PreciseTable::open(installed.path, error);
        if (!table) state.SkipWithError("the position table cannot be opened");
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_precise_table_open)->Unit(benchmark::kMicrosecond);
