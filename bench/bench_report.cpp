// SPDX-License-Identifier: GPL-3.0-or-later
// The client's report of two sample charts with all five comparisons as PDF: the comparisons,
// each entry's text from the collection, hyphenation, layout and the PDF writer.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <string>

#include "bench/sample_pair.h"
#include "desktop/report_document.h"
#include "report/hyphenation.h"
#include "report/report_model.h"

namespace {

using namespace duoskop;

void BM_report_pdf(benchmark::State& state)
{
    const DriveC drive{std::filesystem::path(DUOSKOP_SOURCE_DRIVE_C)};
    const ChartState chart = bench::sample_pair();
    Ktexte ktexte;
    load_ktexte(drive, ktexte);
    ReportRequest request;
    request.comparisons = {all_comparisons.begin(), all_comparisons.end()};
    request.orbs = {1.0, 0.5, 0.3};
    request.version = "bench";
    Hyphenator::german();  // the pattern file is read once per run, as in the programs
    for (auto _ : state) {
        const ReportModel model = build_report(chart, request, ktexte, drive);
        const QByteArray pdf = report_pdf(model);
        if (pdf.isEmpty()) std::abort();
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_report_pdf)->Unit(benchmark::kMillisecond);

}  // namespace

// Fonts need a Gui application; the offscreen platform needs no display.
int main(int argc, char** argv)
{
    static int qt_argc = 3;
    static char arg0[] = "duoskop_bench_report";
    static char arg1[] = "-platform";
    static char arg2[] = "offscreen";
    static char* qt_argv[] = {arg0, arg1, arg2, nullptr};
    const QGuiApplication app(qt_argc, qt_argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
