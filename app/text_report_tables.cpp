// \brief Tables of the text report; see text_report_tables.h.
#include "app/text_report_tables.h"

#include <string>

#include "numtext/float_to_pattern_text.h"

namespace gatool {

namespace {

// Step positions (midpoint, centre of mass) and the offset resolve a fraction of a step.
constexpr const char* MidPosPattern = "0.00";
constexpr const char* StepFractionPattern = "0.000";
// The scan chart's peak marker, with "0" for a position that rounds to 0 (its "####" leaves it
// empty).
constexpr const char* PeakPositionPattern = "###0";
// Counts per second: large numbers, one decimal.
constexpr const char* HeightPattern = "0.0";
constexpr const char* WavelengthPattern = "0.00";
// Losses of a good calibration are hundredths of a percent or less.
constexpr const char* LossPattern = "0.0000";

}  // namespace

TextTable PeakTable(const GaTest& test, int scanCount) {
    TextTable table(
        {"scan", "mid_pos", "slit", "step", "position", "height", "offset", "centre_of_mass"});
    for (std::size_t k = 0; k < static_cast<std::size_t>(scanCount); ++k) {
        const ScanRecord& record = test.Scans[k];
        for (std::size_t s = 0; s < SlitCount; ++s) {
            table.AddRow({std::to_string(k), FloatToPatternText(MidPosPattern, record.MidPos),
                          std::to_string(s), std::to_string(record.PeakIndex[s]),
                          FloatToPatternText(PeakPositionPattern, record.PeakPos[s]),
                          FloatToPatternText(HeightPattern, record.PeakCount[s]),
                          FloatToPatternText(StepFractionPattern, record.PeakOffset[s]),
                          FloatToPatternText(StepFractionPattern, record.CentreOfMass[s])});
        }
    }
    return table;
}

TextTable CiTable(const std::vector<CiPoint>& points) {
    TextTable table({"wavelength", "loss"});
    for (const CiPoint& point : points) {
        table.AddRow({FloatToPatternText(WavelengthPattern, point.Wavelength),
                      FloatToPatternText(LossPattern, point.Loss)});
    }
    return table;
}

}  // namespace gatool
