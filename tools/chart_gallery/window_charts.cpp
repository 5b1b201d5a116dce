// \brief Filling the window's charts from files; see window_charts.h.
#include "tools/chart_gallery/window_charts.h"

#include <string>
#include <utility>

#include "ui/off_screen_chart.h"
#include "ui/window_chart_fill.h"

namespace gatool {

namespace {

// The computed refreshes with ScanGraph showing each scan: the reader shows every slit of every
// scan as it reads; the flow ends by showing slit 1 of scan 0 with the GS and GI of the fit.
class ScanChartRefreshes : public ComputedRefreshes {
  public:
    ScanChartRefreshes(ToolState& state, ScanGraphForm& form, std::string fileName)
        : ComputedRefreshes(state), m_form(form), m_fileName(std::move(fileName)) {}

    void ShowScan(int scan, int slit) override {
        ComputedRefreshes::ShowScan(scan, slit);
        gatool::ShowScan(m_form, m_state.Test->Scans[static_cast<std::size_t>(scan)], slit,
                         m_state.Window, m_fileName, m_state.Controls);
    }

  private:
    ScanGraphForm& m_form;
    std::string m_fileName;
};

}  // namespace

void LoadWindowCharts(WindowCharts& charts,
                      ToolState& state,
                      const std::filesystem::path& gaFile,
                      const std::filesystem::path& dcfFile) {
    for (TChart* chart : {&charts.Scan.ScanGraph, &charts.Slope.SlopeGraph, &charts.Ci.CIGraph}) {
        PaintChart(*chart);
    }

    ScanChartRefreshes refreshes(state, charts.Scan, gaFile.string());
    InputStream dcf = InputStream::FromFile(dcfFile);
    LoadDcfFile(state, dcf, refreshes);
    InputStream ga = InputStream::FromFile(gaFile);
    GaLoadOutcome outcome;
    LoadGaFile(state, ga, refreshes, outcome);

    ShowSlopePoints(charts.Slope, *state.Test, state.Controls.SlitChecked);
    if (state.SlopeFit) {
        ShowSlopeLine(charts.Slope, *state.SlopeFit);
    }
    ClearCiCurves(charts.Ci);
    charts.Ci.CIGraph.LeftAxis().SetAutomatic(true);
    AddCiCurves(charts.Ci, state.Ci);
    PaintChart(charts.Ci.CIGraph);
    FixCiRange(charts.Ci);
}

}  // namespace gatool
