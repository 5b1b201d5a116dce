// \brief Filling the main window's charts from the analysis, as the window's refresh routines do:
// the scan shown in ScanGraph, the slope fit in SlopeGraph, the CI simulation in CIGraph.
#pragma once

#include <array>
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

// Empties ScanGraph and says in its title that the file `fileName` holds no scan.
void ShowNoScan(ScanGraphForm& form, const std::string& fileName);

// Empties SlopeGraph and shows the peak offsets of the checked slits against the scans' midpoints,
// the markers of the selected scan in red, the others in blue.
void ShowSlopePoints(SlopeGraphForm& form,
                     const GaTest& test,
                     const std::array<bool, SlitCount>& slitChecked);

// Shows the GI/GS line from the first scan's end to the last scan's in SlopeGraph.
void ShowGsGiLine(SlopeGraphForm& form, const std::array<SlopePoint, 2>& ends);

// The title of SlopeGraph for GS and GI.
std::string GsGiTitle(double gs, double gi);

// The title of SlopeGraph for GS and GI that are not the loaded file's, from the boxes' texts.
std::string NoFitTitle(const std::string& gsText, const std::string& giText);

// Shows the GI/GS line of `fit` in SlopeGraph, and GS and GI in its title; a title that says "No
// fit" first when they are not fitted from the loaded file nor typed in manual mode.
void ShowSlopeLine(SlopeGraphForm& form, const GsGiResult& fit);

// Empties the two loss curves of CIGraph.
void ClearCiCurves(CiGraphForm& form);

// Adds the loss curves of slits 1 and 5 to CIGraph.
void AddCiCurves(CiGraphForm& form, const CiCurves& curves);

// Fixes the left axis of CIGraph from 0 to the maximum its last drawing found, rounded up to the
// next multiple of 0.5.
void FixCiRange(CiGraphForm& form);

}  // namespace gatool
