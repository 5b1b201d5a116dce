// \brief The tables of the text report of `gatool analyze`, with the precision an operator reads:
// the patterns of the window's texts where it shows the number as text, else a fixed number of
// decimals per column.
#pragma once

#include <vector>

#include "analysis/ci_simulation.h"
#include "app/text_table.h"
#include "data/ga_test.h"

namespace gatool {

// Per scan and slit of scans 0 to scanCount - 1: the scan's midpoint, the peak step, the fitted
// peak's position (as the scan chart's peak marker shows it) and height, its offset from the
// midpoint and the centre of mass.
TextTable PeakTable(const GaTest& test, int scanCount);

// The CI points of one slit: wavelength in Angstrom, loss in percent.
TextTable CiTable(const std::vector<CiPoint>& points);

}  // namespace gatool
