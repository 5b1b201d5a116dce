// \brief GS and GI, the two calibration numbers: how the fitted peak position of a slit follows the
// scan's midpoint from scan to scan, as the straight line PeakPos = GS x MidPos + GI.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "data/ga_test.h"

namespace gatool {

// What the window's controls hold when GS and GI are derived, passed as plain values.
struct GsGiInputs {
    std::array<bool, SlitCount> SlitChecked{};
    bool UseCentreMass = false;
    bool ManualGSGI = false;
    std::string GsText = "1";  // the GS and GI boxes
    std::string GiText = "0";
};

enum class GsGiSource {
    Fit,            // the straight line through the peaks of scans 1 to LastScan
    Manual,         // the boxes, because ManualGSGI is checked
    NoScans,        // the boxes, because no scan is loaded
    NoSlitChecked,  // the boxes, because no slit is checked to give the fit its points
    TooFewScans,    // the boxes, because fewer than 3 scans after the first take part in the fit
};

struct SlopePoint {
    double X;
    double Y;
};

struct GsGiResult {
    GsGiSource Source = GsGiSource::Fit;
    double GS = 1;
    double GI = 0;
    std::string GsText;  // the new texts of the GS and GI boxes
    std::string GiText;
    // The GI/GS line in the slope graph's coordinates (MidPos, PeakOffset), from the first scan to
    // the last; empty when no slit is checked or no scan is loaded.
    std::optional<std::array<SlopePoint, 2>> Line;
};

// Derives GS and GI and sets test.CurrentGS and test.CurrentGI. The fit takes the peak positions
// (or centres of mass) of the highest checked slit in scans 1 to LastScan; the first scan of the
// file never enters it. When ManualGSGI is checked, or the fit cannot be made, GS and GI are read
// from the boxes' texts, GI first. A box text that is not a number raises EConvertError and leaves
// everything as it was.
GsGiResult DeriveGsGi(GaTest& test, const GsGiInputs& inputs);

// GS and GI as the boxes and the slope chart's title show them: GS with at most 5 decimals, GI with
// at most 2.
std::string GsBoxText(double gs);
std::string GiBoxText(double gi);

// One sentence saying where GS and GI came from, for the front ends: empty for a fit.
std::string DescribeGsGiSource(GsGiSource source);

}  // namespace gatool
