// \brief Filling the main window's charts from the analysis, as the window's refresh routines do:
// the scan shown in ScanGraph, the slope fit in SlopeGraph, the CI simulation in CIGraph.
#pragma once

#include <string>

#include "analysis/ci_simulation.h"
#include "analysis/gs_gi.h"
#include "ui/window_chart_forms.h"

namespace gatool {

// Shows slit `slit` of `record` in ScanGraph: the counts (red at the peak step, green elsewhere),
// the fitted curve, the centre of mass, the fitted peak with its figures and the GS/GI marker at
// the position the boxes' GS and GI give; titled with `fileName` and the slit. Raises what the
// figures raise (a box text that is not a number, a peak height of 0).
void ShowScan(ScanGraphForm& form,
              const ScanRecord& record,
              int slit,
              FitWindow window,
              const std::string& fileName,
              const GsGiInputs& boxes);

// Shows the peak offsets of the checked slits against the scans' midpoints in SlopeGraph, the
// marker of the selected scan in red, the GI/GS line and GS and GI in the title.
void ShowSlopeFit(SlopeGraphForm& form,
                  const GaTest& test,
                  const GsGiInputs& controls,
                  const GsGiResult& fit);

// Fills CIGraph with the loss curves of slits 1 and 5; `automaticRange` lets the left axis find
// its range anew at the next drawing. FixCiRange completes the refresh after that drawing.
void ShowCiCurves(CiGraphForm& form, const CiCurves& curves, bool automaticRange);

// Fixes the left axis of CIGraph from 0 to the maximum its last drawing found, rounded up to the
// next multiple of 0.5.
void FixCiRange(CiGraphForm& form);

}  // namespace gatool
