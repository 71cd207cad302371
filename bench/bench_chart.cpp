// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one chart computation (f_rechnen, also with precise positions) and of one whole
// chart-file load (holen).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/chart_file.h"
#include "astro/std_ho.h"
#include "precise/precise_positions.h"

using namespace duoskop;

static void BM_f_rechnen(benchmark::State& state)
{
    BirthData birth{1, 1, 1990, 0.0, 10.0, 53.55};
    for (auto _ : state) {
        benchmark::DoNotOptimize(birth);
        Positions p = f_rechnen(birth);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_f_rechnen);

// One chart with SO, MO and ME to PL from the precise source (libnova).
static void BM_f_rechnen_precise(benchmark::State& state)
{
    BirthData birth{1, 1, 1990, 0.0, 10.0, 53.55};
    for (auto _ : state) {
        benchmark::DoNotOptimize(birth);
        Positions p = chart_positions(birth, PositionSource::precise);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_f_rechnen_precise);

static void BM_holen(benchmark::State& state)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("Meier_bench_" + std::to_string(::getpid()) + ".dat");
    const chart_record record{"Meier_benc", "Hans", "01.01.1990", "00:00:00", "Hamburg",
                              "+010 00 00", "+53 33 00"};
    std::ofstream(path, std::ios::binary) << chart_record_bytes(record);
    // The name check compares up to the first '.': "Meier_bench_<pid>" against the record's
    // ten characters fails, so name the file as the record.
    const std::filesystem::path named = path.parent_path() / "Meier_benc.dat";
    std::filesystem::rename(path, named);
    ChartState chart;
    const std::string p = named.string();
    for (auto _ : state) {
        LoadResult r = holen(p, 2, chart);
        if (r.outcome != LoadOutcome::loaded) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(chart);
    }
    std::filesystem::remove(named);
}
BENCHMARK(BM_holen);
