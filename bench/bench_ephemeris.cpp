// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the graphic ephemeris: one year (2025) of the sample pair with the default movers and
// targets, from the movers' positions to the PNG bytes at the size duoskop-cli draws by default.
// Target: under 200 ms. Runs in duoskop_bench_dial, whose main starts the Gui application.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>

#include "astro/calendar.h"
#include "bench/sample_pair.h"
#include "desktop/ephemeris_painter.h"
#include "ephemeris/ephemeris.h"

using namespace duoskop;

namespace {

void BM_ephemeris_year(benchmark::State& state)
{
    const ChartState chart = bench::sample_pair();
    const TimelineRequest request = ephemeris_request(chart_julian_day0(2025, 1, 1), chart_julian_day0(2026, 1, 1));
    const QString title = QStringLiteral("Grafische Ephemeride");
    std::size_t bytes = 0, points = 0;
    for (auto _ : state) {
        const Ephemeris e = compute_ephemeris(chart, request, 22.5);
        const QByteArray png = ephemeris_png(e, title, 1600, 960);
        bytes = static_cast<std::size_t>(png.size());
        points = 0;
        for (const MoverCurve& c : e.curves)
            for (const auto& piece : c.pieces) points += piece.size();
        benchmark::DoNotOptimize(png.constData());
    }
    state.counters["png_bytes"] = static_cast<double>(bytes);
    state.counters["curve_points"] = static_cast<double>(points);
}
BENCHMARK(BM_ephemeris_year)->Unit(benchmark::kMillisecond);

// The part of it before the painter: positions, hits and curves.
void BM_ephemeris_year_geometry(benchmark::State& state)
{
    const ChartState chart = bench::sample_pair();
    const TimelineRequest request = ephemeris_request(chart_julian_day0(2025, 1, 1), chart_julian_day0(2026, 1, 1));
    for (auto _ : state) {
        const Ephemeris e = compute_ephemeris(chart, request, 22.5);
        benchmark::DoNotOptimize(e.curves.data());
    }
}
BENCHMARK(BM_ephemeris_year_geometry)->Unit(benchmark::kMillisecond);

}  // namespace
