// \brief Benchmarks of the main window with a 50-scan GA file and a DCF file, on Qt's offscreen
// platform: the whole Load GA flow from the click to the charts painted, one ShowScan +
// SimulateCiScan + repaint cycle, and one mouse move of a GI/GS line drag to the charts repainted.
// The argument is the page of the tab control shown: 0 "Scans" (the CI chart is then drawn off the
// screen for its axis range), 1 "Simulated CI scan changes".
#include <benchmark/benchmark.h>

#include <QTabWidget>
#include <QTest>
#include <memory>

#include "bench/offscreen_application.h"
#include "ui/gui_application.h"
#include "ui/main_form.h"

namespace {

using namespace gatool;

const std::filesystem::path GaFile = GATOOL_SAMPLES_DIR "/GA_sample_50scans.txt";
const std::filesystem::path DcfFile = GATOOL_SAMPLES_DIR "/DCF_sample.txt";

// The window shown with the page `page`, the DCF file loaded and the GA file chosen by every
// Load GA click.
std::unique_ptr<TMainForm> ShownWindow(int page) {
    OffscreenApplication<GuiApplication>();
    auto form = std::make_unique<TMainForm>(
        [](const std::string& preset) { return preset == "GA*.*" ? GaFile : DcfFile; });
    form->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(page);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) {
        throw std::runtime_error("the window was not shown");
    }
    form->LoadDCFClick();
    return form;
}

// What reaches the screen: the charts that are shown repaint now.
void RepaintCharts(TMainForm& form) {
    for (TChart* chart :
         {&form.ScanForm().ScanGraph, &form.CiForm().CIGraph, &form.SlopeForm().SlopeGraph}) {
        if (chart->isVisible()) {
            chart->repaint();
        }
    }
}

void BM_LoadGaToChartsPainted(benchmark::State& state) {
    const std::unique_ptr<TMainForm> form = ShownWindow(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        form->LoadGAClick();
        RepaintCharts(*form);
    }
    if (form->State().Test->LastScan != MaxScans - 1) {
        state.SkipWithError("the GA file did not load");
    }
}
BENCHMARK(BM_LoadGaToChartsPainted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ShowScanSimulateCiRepaint(benchmark::State& state) {
    const std::unique_ptr<TMainForm> form = ShownWindow(static_cast<int>(state.range(0)));
    form->LoadGAClick();
    for (auto _ : state) {
        form->ShowScan(-1, -1);
        form->SimulateCiScan(false);
        RepaintCharts(*form);
    }
}
BENCHMARK(BM_ShowScanSimulateCiRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A press on the GI/GS line's second end, then mouse moves up and down by a few pixels, as a drag
// delivers them.
void BM_DragMoveToChartsRepainted(benchmark::State& state) {
    const std::unique_ptr<TMainForm> form = ShownWindow(static_cast<int>(state.range(0)));
    form->LoadGAClick();
    TChart& slope = form->SlopeForm().SlopeGraph;
    const TLineSeries& line = form->SlopeForm().Series4;
    slope.repaint();
    const QPoint end(line.XScreenPos(1), line.YScreenPos(1));
    QTest::mousePress(&slope, Qt::LeftButton, Qt::NoModifier, end);
    if (!form->Dragging()) {
        state.SkipWithError("the press did not grab the GI/GS line");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        QTest::mouseMove(&slope, end + QPoint(0, (step++ % 10) - 5));
        RepaintCharts(*form);
    }
    QTest::mouseRelease(&slope, Qt::LeftButton, Qt::NoModifier, end);
}
BENCHMARK(BM_DragMoveToChartsRepainted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
