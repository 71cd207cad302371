// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the whole dial of two persons, with pointer, marked picture and its arcs, at 800 x 800,
// for each dial size: the argument is the dial's modulus in hundredths of a degree (36000 is the
// 360-degree dial, 2250 the 22.5-degree one); and the 22.5-degree dial with the third ring of the
// default movers, their positions at the instant computed in each run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <string>

#include "bench/sample_pair.h"
#include "desktop/dial_painter.h"
#include "dialview/midpoints.h"
#include "timeline/ring.h"

namespace {

using namespace duoskop;

DialScene sample_scene(double modulus)
{
    const ChartState chart = bench::sample_pair();
    DialScene scene;
    scene.modulus = modulus;
    scene.pos1 = chart.pos1;
    scene.pos2 = chart.pos2;
    scene.legend1 = QStringLiteral("innen: Marie Albrecht");
    scene.legend2 = QStringLiteral("au\u00DFen: Greta Hollmann");
    const auto picture = entry_picture("MC/JU=AS/MO", {1, 1, 2, 2}, chart.pos1, chart.pos2);
    if (!picture) std::abort();
    show_entry_picture(scene, *picture);
    return scene;
}

void BM_draw_dial(benchmark::State& state)
{
    const DialScene scene = sample_scene(static_cast<double>(state.range(0)) / 100);
    QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        paint_dial(painter, QRectF(0, 0, 800, 800), scene);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
void dial_sizes(benchmark::internal::Benchmark* b)
{
    for (const double modulus : dial_moduli) b->Arg(std::lround(modulus * 100));
}
BENCHMARK(BM_draw_dial)->Apply(dial_sizes)->Unit(benchmark::kMillisecond);

void BM_draw_dial_ring(benchmark::State& state)
{
    const ChartState chart = bench::sample_pair();
    DialScene scene = sample_scene(dial_span);
    const TimelineRequest movers = ring_request();
    const double instant = 2460477.1;  // 15 June 2024, 14:24 UT
    QImage image(800, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        scene.movers = ring_points(chart, movers, instant);
        scene.legend_movers = QString::fromLatin1(ring_legend(instant).c_str());
        image.fill(Qt::white);
        QPainter painter(&image);
        paint_dial(painter, QRectF(0, 0, 800, 800), scene);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["movers"] = static_cast<double>(scene.movers.size());
}
BENCHMARK(BM_draw_dial_ring)->Unit(benchmark::kMillisecond);

}  // namespace

// Fonts need a Gui application; the offscreen platform needs no display.
int main(int argc, char** argv)
{
    static int qt_argc = 3;
    static char arg0[] = "duoskop_bench_dial";
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
