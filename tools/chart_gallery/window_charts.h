// \brief The main window's three charts filled from a GA file and a DCF file, as the window shows
// them after "Load DCF" and "Load GA file".
#pragma once

#include <filesystem>

#include "app/load_flows.h"
#include "ui/off_screen_chart.h"
#include "ui/window_chart_forms.h"

namespace gatool {

struct WindowCharts {
    ScanGraphForm Scan;
    SlopeGraphForm Slope;
    CiGraphForm Ci;
};

// Runs the window's flows on the three charts: they are painted empty (the window opens), the DCF
// file and then the GA file are loaded, ScanGraph shows slit 1 of scan 0, SlopeGraph the slope fit
// of the checked slits, and CIGraph is painted once with an automatic left axis whose maximum then
// fixes its range. Raises what the loads raise.
void LoadWindowCharts(WindowCharts& charts,
                      ToolState& state,
                      const std::filesystem::path& gaFile,
                      const std::filesystem::path& dcfFile);

}  // namespace gatool
