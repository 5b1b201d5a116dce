// \brief CI scan change simulation; see ci_simulation.h.
#include "analysis/ci_simulation.h"

#include "analysis/scan_samples.h"
#include "base/float_faults.h"
#include "numtext/parse_float_text.h"

namespace gatool {

namespace {

// Locates the slit's peak afresh and adds the scan's loss at `wavelength`.
void AddLossPoint(ScanRecord& record,
                  int slit,
                  double wavelength,
                  FitWindow window,
                  const std::string& gsText,
                  const std::string& giText,
                  std::vector<CiPoint>& points) {
    LocatePeak(record, 0, slit, window);
    const double gs = ToDouble(ParseFloatText(gsText));
    const double gi = ToDouble(ParseFloatText(giText));
    points.push_back({wavelength, EstimateLoss(record, slit, gs, gi)});
}

}  // namespace

double SlitWavelength(const DispersionCoefficients& table, int slit, double position) {
    const auto& c = table[static_cast<std::size_t>(slit)];
    return ToDouble(Extended{c[1]} * position + c[0] + Extended{c[2]} * position * position);
}

double EstimateLoss(const ScanRecord& record, int slit, double gs, double gi) {
    const auto s = static_cast<std::size_t>(slit);
    const Extended x = record.VertexOffset;
    const Extended a0 = record.FitA0[s];
    const Extended a1 = record.FitA1[s];
    const Extended a2 = record.FitA2[s];
    const Extended w = record.StepWidth;
    const double height = ToDouble(x * x * a2 + x * a1 + a0);
    const double predicted = ToDouble(Extended{gs} * record.MidPos + gi);
    const double distance = ToDouble(predicted - Extended{PositionAt(record, record.PeakIndex[s])});
    const Extended d = distance;
    const double heightThere = ToDouble(Divide(Divide(d * d * a2, w), w) + Divide(d * a1, w) + a0);
    return ToDouble(Divide(Extended{height} - heightThere, height) * 100);
}

void SimulateCiScan(GaTest& test,
                    FitWindow window,
                    const std::string& gsText,
                    const std::string& giText,
                    CiCurves& curves) {
    curves.Slit1.clear();
    curves.Slit5.clear();
    if (!DcfLoaded(test)) {
        return;
    }
    for (int k = 0; k < test.LastScan; ++k) {
        ScanRecord& record = test.Scans[static_cast<std::size_t>(k)];
        AddLossPoint(record, 1, SlitWavelength(test.DispersionTable, 1, record.MidPos), window,
                     gsText, giText, curves.Slit1);
    }
    for (int k = 0; k < test.LastScan; ++k) {
        ScanRecord& record = test.Scans[static_cast<std::size_t>(k)];
        const double wavelength = SlitWavelength(test.DispersionTable, 5, record.MidPos);
        if (wavelength >= Slit5MinWavelength) {
            AddLossPoint(record, 5, wavelength, window, gsText, giText, curves.Slit5);
        }
    }
}

}  // namespace gatool
