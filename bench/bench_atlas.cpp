// SPDX-License-Identifier: GPL-3.0-or-later
// The place atlas: reading the shipped atlas file, and one search as the user types it.
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
        auto loaded = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
        if (!loaded) std::abort();
        return *loaded;
    }();
    return atlas;
}

void BM_atlas_load(benchmark::State& state)
{
    for (auto _ : state) {
        std::string error;
        auto atlas = Atlas::load(DUOSKOP_SOURCE_ATLAS, error);
        benchmark::DoNotOptimize(atlas);
    }
}
BENCHMARK(BM_atlas_load)->Unit(benchmark::kMillisecond);

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
