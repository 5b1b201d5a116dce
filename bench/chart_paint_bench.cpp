// \brief Benchmark of painting the main window's three charts at their window sizes, filled from a
// 50-scan GA file and a DCF file, into the off-screen image the chart widget paints into. The
// window repaints a chart on every mouse move of a drag, so one paint must take far less than a
// millisecond. The argument is the device pixel ratio.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/offscreen_application.h"
#include "chart/chart_image.h"
#include "tools/chart_gallery/window_charts.h"

namespace {

using namespace gatool;

// The charts filled once for all benchmarks; Qt's offscreen platform needs no display.
WindowCharts& FilledCharts() {
    OffscreenApplication();
    static const std::unique_ptr<WindowCharts> charts = [] {
        auto filled = std::make_unique<WindowCharts>();
        ToolState state;
        LoadWindowCharts(*filled, state, GATOOL_SAMPLES_DIR "/GA_sample_50scans.txt",
                         GATOOL_SAMPLES_DIR "/DCF_sample.txt");
        return filled;
    }();
    return *charts;
}

void PaintRepeatedly(benchmark::State& benchState, TChart& chart) {
    QImage image =
        ChartImage(chart.width(), chart.height(), static_cast<qreal>(benchState.range(0)));
    QtDrawingCache cache;  // kept by the widget from one paint to the next
    for (auto _ : benchState) {
        RenderChart(chart, image, cache);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PaintScanGraph(benchmark::State& benchState) {
    PaintRepeatedly(benchState, FilledCharts().Scan.ScanGraph);
}
BENCHMARK(BM_PaintScanGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_PaintSlopeGraph(benchmark::State& benchState) {
    PaintRepeatedly(benchState, FilledCharts().Slope.SlopeGraph);
}
BENCHMARK(BM_PaintSlopeGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_PaintCiGraph(benchmark::State& benchState) {
    PaintRepeatedly(benchState, FilledCharts().Ci.CIGraph);
}
BENCHMARK(BM_PaintCiGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
