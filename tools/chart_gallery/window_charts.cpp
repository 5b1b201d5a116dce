// \brief Filling the window's charts from files; see window_charts.h.
#include "tools/chart_gallery/window_charts.h"

#include "ui/off_screen_chart.h"
#include "ui/window_chart_fill.h"

namespace gatool {

void LoadWindowCharts(WindowCharts& charts,
                      ToolState& state,
                      const std::filesystem::path& gaFile,
                      const std::filesystem::path& dcfFile) {
    for (TChart* chart : {&charts.Scan.ScanGraph, &charts.Slope.SlopeGraph, &charts.Ci.CIGraph}) {
        PaintChart(*chart);
    }

    InputStream dcf = InputStream::FromFile(dcfFile);
    LoadDcfFile(state, dcf);

    // The reader shows every slit of every scan as it reads; the flow ends by showing slit 1 of
    // scan 0 with the GS and GI of the fit.
    GaReadHooks hooks;
    hooks.CurrentFitWindow = [&state] { return state.Window; };
    hooks.ShowScan = [&](int scan, int slit) {
        state.Test->ShownScan = scan;
        state.Test->ShownSlit = slit;
        ShowScan(charts.Scan, state.Test->Scans[static_cast<std::size_t>(scan)], slit, state.Window,
                 gaFile.string(), state.Controls);
    };
    InputStream ga = InputStream::FromFile(gaFile);
    GaLoadOutcome outcome;
    LoadGaFile(state, ga, hooks, outcome);

    if (state.SlopeFit) {
        ShowSlopeFit(charts.Slope, *state.Test, state.Controls, *state.SlopeFit);
    }
    ShowCiCurves(charts.Ci, state.Ci, true);
    PaintChart(charts.Ci.CIGraph);
    FixCiRange(charts.Ci);
}

}  // namespace gatool
