// SPDX-License-Identifier: GPL-3.0-or-later
// The place atlas: opening the index made at build time, reading the atlas text itself (what a
// missing or stale index costs), and one search as the user types it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "places/atlas.h"

using namespace duoskop;

namespace {

const Atlas& shipped_atlas()
{
    static const Atlas atlas = [] {
        std::string error;
        auto opened = Atlas::open_index(DUOSKOP_BUILD_ATLAS_INDEX, DUOSKOP_SOURCE_ATLAS, error);
        if (!opened) std::abort();
        return *opened;
    }();
    return atlas;
}

// Opening the index as a program does: mapped, checked against the atlas file, one first search.
void BM_atlas_load(benchmark::State& state)
{
    for (auto _ : state) {
        std::string error;
        auto atlas = Atlas::open_index(DUOSKOP_BUILD_ATLAS_INDEX, DUOSKOP_SOURCE_ATLAS, error);
        if (!atlas) std::abort();
        benchmark::DoNotOptimize(atlas->search("Wien", 10));
    }
}
BENCHMARK(BM_atlas_load)->Unit(benchmark::kMillisecond);

void BM_atlas_parse_text(benchmark::State& state)
{
    for (auto _ : state) {
        std::string error;
        const std::string index = Atlas::make_index(DUOSKOP_SOURCE_ATLAS, error);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_atlas_parse_text)->Unit(benchmark::kMillisecond)->Iterations(3);

// Queries of one to many letters, with and without umlauts, the short ones the slowest.
void BM_atlas_search(benchmark::State& state)
{
    const Atlas& atlas = shipped_atlas();
    static const char* const queries[] = {"M", "Sa", "Ber", "Muenchen", "Z\xC3\xBCrich", "Mailand", "Kandel"};
    const char* query = queries[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(atlas.search(query, 10));
    state.SetLabel(query);
}
BENCHMARK(BM_atlas_search)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace
