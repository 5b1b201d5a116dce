// \brief The CI scan change simulation: the loss in counts, in percent of the peak's counts, that a
// measurement at the position GS and GI predict would see, against the wavelength of each scan,
// for slits 1 and 5.
#pragma once

#include <string>
#include <vector>

#include "analysis/peak_location.h"
#include "data/ga_test.h"

namespace gatool {

// Slit 5 points are made only for scans at this wavelength (Angstrom) or above.
inline constexpr double Slit5MinWavelength = 3450;

// c1 x + c0 + c2 x x with the coefficients of row `slit` of the table, in Angstrom.
double SlitWavelength(const DispersionCoefficients& table, int slit, double position);

// The loss in percent at the predicted position GS x MidPos + GI, from the quadratic fitted to the
// peak of `slit`; the record must have had that slit located last. Raises the floating-point
// faults (a peak height of 0 divides by zero).
double EstimateLoss(const ScanRecord& record, int slit, double gs, double gi);

struct CiPoint {
    double Wavelength;
    double Loss;
};

struct CiCurves {
    std::vector<CiPoint> Slit1;
    std::vector<CiPoint> Slit5;
};

// Whether a DCF file is loaded: row 0's c0 is not 0.
inline bool DcfLoaded(const GaTest& test) {
    return test.DispersionTable[0][0] != 0;
}

// Runs the simulation over scans 0 to LastScan - 1 into `curves` (emptied first). Nothing is added
// while row 0's c0 is 0 (no DCF file). GS and GI are read from the boxes' texts for every scan.
// Re-locates the peaks of slit 1 in those scans, and of slit 5 in those at or above
// Slit5MinWavelength, with automatic choice of the peak step. A failure (a box text that is not a
// number, a peak that cannot be located) ends the run with the points made so far left in
// `curves`.
void SimulateCiScan(GaTest& test,
                    FitWindow window,
                    const std::string& gsText,
                    const std::string& giText,
                    CiCurves& curves);

}  // namespace gatool
