// SPDX-License-Identifier: GPL-3.0-or-later
// The partner ranking of one person against 10,000 chart files in a folder: finding the files,
// reading each from disk, computing its chart and running the three comparisons, on two threads.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/chart_file.h"
#include "ranking/ranking.h"

namespace {

using namespace duoskop;
namespace fs = std::filesystem;

std::string two(unsigned n) { return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)}; }

// A folder of `count` invented partners, made once per run and removed at its end.
class PartnerFolder {
public:
    explicit PartnerFolder(unsigned count)
    {
        std::string pattern = (fs::temp_directory_path() / "duoskop-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        std::uint32_t seed = 12345;
        const auto next = [&seed](unsigned range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        for (unsigned i = 0; i < count; ++i) {
            const std::string name = "P" + std::to_string(100000 + i).substr(1);
            chart_record record{name, "Vorname",
                                two(1 + next(28)) + "." + two(1 + next(12)) + ".19" + two(next(100)),
                                two(next(24)) + ":" + two(next(60)) + ":" + two(next(60)), "",
                                "+0" + two(next(30)) + " " + two(next(60)) + " 00",
                                "+" + two(35 + next(25)) + " " + two(next(60)) + " 00"};
            std::ofstream(dir_ / (name + ".dat"), std::ios::binary) << chart_record_bytes(record);
        }
    }
    ~PartnerFolder() { fs::remove_all(dir_); }
    const fs::path& dir() const { return dir_; }

private:
    fs::path dir_;
};

void BM_rank_10000(benchmark::State& state)
{
    static const PartnerFolder folder(10000);
    ChartState person1;
    const std::string person1_path = std::string(DUOSKOP_SOURCE_DRIVE_C) + "/astro/daten/ALBRECHT.dat";
    if (holen(person1_path, 1, person1).outcome != LoadOutcome::loaded) std::abort();
    const Orbs orbs{1.0, 0.5, 0};
    for (auto _ : state) {
        const PartnerFiles partners = find_partner_files({folder.dir().string()}, person1_path);
        const Ranking ranking = rank_partners(person1, partners.files, orbs);
        if (ranking.entries.size() != 10000) state.SkipWithError("not every partner was ranked");
        benchmark::DoNotOptimize(ranking.entries.data());
    }
}
// Wall-clock time is the figure that counts; the CPU column adds up both threads.
BENCHMARK(BM_rank_10000)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace
