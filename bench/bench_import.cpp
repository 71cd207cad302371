// SPDX-License-Identifier: GPL-3.0-or-later
// The import of an AAF file of 5,000 and of 20,000 persons into a fresh folder, as `duoskop-cli
// import` and the chart index run it: reading and checking every record, looking for case twins,
// writing each chart file whole. The counters give the processor time per record (which must not
// grow with the file) and the syncs of the folder per import (one). Wall time is the disk's.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "birth/exchange.h"
#include "kartei/exchange_files.h"

namespace {

using namespace duoskop;
namespace fs = std::filesystem;

// Syncs of folders in this process: every fsync the program makes goes through __wrap_fsync (the
// benchmark is linked with --wrap=fsync), which counts those of a folder.
unsigned long folder_syncs = 0;

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) ++folder_syncs;
    return __real_fsync(fd);
}

namespace {

std::string two(unsigned n) { return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)}; }

// An AAF file of `count` invented persons with Julian day and coordinates, as an export writes them.
class AafFile {
public:
    explicit AafFile(unsigned count)
    {
        std::string pattern = (fs::temp_directory_path() / "duoskop-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        std::uint32_t seed = 4711;
        const auto next = [&seed](unsigned range) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % range;
        };
        std::vector<chart_record> records;
        for (unsigned i = 0; i < count; ++i) {
            const std::string name = "P" + std::to_string(100000 + i).substr(1);
            records.push_back({name, "Vorname", two(1 + next(28)) + "." + two(1 + next(12)) + ".19" + two(next(100)),
                               two(next(24)) + ":" + two(next(60)) + ":" + two(next(60)), "Ort",
                               "+0" + two(next(30)) + " " + two(next(60)) + " 00",
                               "+" + two(35 + next(25)) + " " + two(next(60)) + " 00"});
        }
        std::ofstream(file(), std::ios::binary) << write_aaf(records);
    }
    ~AafFile() { fs::remove_all(dir_); }
    fs::path file() const { return dir_ / "personen.aaf"; }
    const fs::path& dir() const { return dir_; }

private:
    fs::path dir_;
};

double process_cpu_seconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void import_into_fresh_folders(benchmark::State& state, const AafFile& aaf, unsigned count)
{
    double cpu = 0;
    unsigned long syncs = 0;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = aaf.dir() / ("daten" + std::to_string(round++));
        state.ResumeTiming();
        const unsigned long syncs_before = folder_syncs;
        const double cpu_before = process_cpu_seconds();
        const ImportResult result = import_charts(aaf.file(), folder, "", nullptr);
        cpu += process_cpu_seconds() - cpu_before;
        syncs += folder_syncs - syncs_before;
        if (!result.error.empty() || result.written.size() != count) state.SkipWithError("not every record was written");
        state.PauseTiming();
        fs::remove_all(folder);
        state.ResumeTiming();
    }
    const auto rounds = static_cast<double>(state.iterations());
    state.counters["cpu_us_per_record"] = cpu / rounds / count * 1e6;
    state.counters["folder_syncs_per_import"] = static_cast<double>(syncs) / rounds;
}

void BM_import_5000(benchmark::State& state)
{
    static const AafFile aaf(5000);
    import_into_fresh_folders(state, aaf, 5000);
}
BENCHMARK(BM_import_5000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_import_20000(benchmark::State& state)
{
    static const AafFile aaf(20000);
    import_into_fresh_folders(state, aaf, 20000);
}
BENCHMARK(BM_import_20000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
