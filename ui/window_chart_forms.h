// \brief The three charts of the main window with their series, configured as the window's form
// defines them: ScanGraph (one slit of one scan), SlopeGraph (peak offsets and the GI/GS line) and
// CIGraph (simulated loss of a CI scan).
//
// Each form owns its chart and its series; the series join the chart in the window's drawing
// order.
#pragma once

#include <array>

#include "chart/chart_widget.h"
#include "chart/line_series.h"
#include "data/ga_test.h"

namespace gatool {

// Size in pixels of a chart as the window lays it out at its minimum size.
struct ChartSize {
    int Width;
    int Height;
};

struct ScanGraphForm {
    // On the "Scans" page of the tab control.
    static constexpr ChartSize Size{466, 172};

    ScanGraphForm();

    TChart ScanGraph;
    TLineSeries Series1;  // counts of slit 0
    TLineSeries Series5;  // fitted quadratic curve
    TLineSeries Series6;  // GS/GI marker
    TLineSeries Series7;  // fitted-peak marker
    TLineSeries Series13;
    TLineSeries Series14;
    TLineSeries Series15;
    TLineSeries Series16;
    TLineSeries Series17;  // counts of slits 1 to 5
    TLineSeries Series26;  // centre-of-mass marker
    const std::array<TLineSeries*, SlitCount> ScanSlitSeries{&Series1,  &Series13, &Series14,
                                                             &Series15, &Series16, &Series17};
};

struct SlopeGraphForm {
    // Below the tab control, across the panel.
    static constexpr ChartSize Size{478, 156};

    SlopeGraphForm();

    TChart SlopeGraph;
    TLineSeries Series3;  // peak offsets of slit 0
    TLineSeries Series8;
    TLineSeries Series9;
    TLineSeries Series10;
    TLineSeries Series11;
    TLineSeries Series12;  // peak offsets of slits 1 to 5
    TLineSeries Series18;  // per-scan markers of slit 0
    TLineSeries Series19;
    TLineSeries Series20;
    TLineSeries Series21;
    TLineSeries Series22;
    TLineSeries Series23;  // per-scan markers of slits 1 to 5
    TLineSeries Series4;   // the GI/GS line
    const std::array<TLineSeries*, SlitCount> SlopeLineSeries{&Series3,  &Series8,  &Series9,
                                                              &Series10, &Series11, &Series12};
    const std::array<TLineSeries*, SlitCount> SlopeMarkSeries{&Series18, &Series19, &Series20,
                                                              &Series21, &Series22, &Series23};
};

struct CiGraphForm {
    // On the "Simulated CI scan changes" page of the tab control.
    static constexpr ChartSize Size{466, 172};

    CiGraphForm();

    TChart CIGraph;
    TLineSeries Series24;  // estimated loss, slit 1
    TLineSeries Series25;  // estimated loss, slit 5
};

}  // namespace gatool
