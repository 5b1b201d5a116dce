// \brief Derivation of GS and GI; see gs_gi.h.
#include "analysis/gs_gi.h"

#include "analysis/line_fit.h"
#include "base/float_faults.h"
#include "numtext/float_to_pattern_text.h"
#include "numtext/parse_float_text.h"

namespace gatool {

namespace {

struct FitPoints {
    std::array<double, MaxScans> X{};
    std::array<double, MaxScans> Y{};
};

std::optional<int> HighestCheckedSlit(const GsGiInputs& inputs) {
    for (int s = SlitCount - 1; s >= 0; --s) {
        if (inputs.SlitChecked[static_cast<std::size_t>(s)]) {
            return s;
        }
    }
    return std::nullopt;
}

FitPoints CollectFitPoints(const GaTest& test, std::size_t slit, bool useCentreMass) {
    FitPoints points;
    for (std::size_t k = 0; k <= static_cast<std::size_t>(test.LastScan); ++k) {
        const ScanRecord& record = test.Scans[k];
        points.X[k] = record.MidPos;
        points.Y[k] = useCentreMass ? record.CentreOfMass[slit] : record.PeakPos[slit];
    }
    return points;
}

SlopePoint LinePoint(double midPos, double gs, double gi) {
    return {midPos, ToDouble((Extended{gs} - 1) * midPos + gi)};
}

}  // namespace

GsGiResult DeriveGsGi(GaTest& test, const GsGiInputs& inputs) {
    GsGiResult result;
    const std::optional<int> slit = HighestCheckedSlit(inputs);
    std::optional<FitPoints> points;
    if (slit && test.LastScan >= 0) {
        points = CollectFitPoints(test, static_cast<std::size_t>(*slit), inputs.UseCentreMass);
    }

    bool fitted = false;
    if (inputs.ManualGSGI) {
        result.Source = GsGiSource::Manual;
    } else if (test.LastScan < 0) {
        result.Source = GsGiSource::NoScans;
    } else if (!slit) {
        result.Source = GsGiSource::NoSlitChecked;
    } else {
        fitted = FitLine(points->X, points->Y, test.LastScan, result.GS, result.GI);
        result.Source = fitted ? GsGiSource::Fit : GsGiSource::TooFewScans;
    }
    if (!fitted) {
        const double gi = ToDouble(ParseFloatText(inputs.GiText));
        result.GS = ToDouble(ParseFloatText(inputs.GsText));
        result.GI = gi;
    }

    const float currentGS = ToSingle(result.GS);
    const float currentGI = ToSingle(result.GI);
    test.CurrentGS = currentGS;
    test.CurrentGI = currentGI;
    if (points) {
        result.Line = {
            LinePoint(points->X[0], result.GS, result.GI),
            LinePoint(points->X[static_cast<std::size_t>(test.LastScan)], result.GS, result.GI)};
    }
    result.GsText = GsBoxText(result.GS);
    result.GiText = GiBoxText(result.GI);
    return result;
}

std::string GsBoxText(double gs) {
    return FloatToPatternText("0.#####", gs);
}

std::string GiBoxText(double gi) {
    return FloatToPatternText("##0.##", gi);
}

std::string DescribeGsGiSource(GsGiSource source) {
    switch (source) {
        case GsGiSource::Fit:
            return "";
        case GsGiSource::Manual:
            return "GS and GI are taken from the boxes (ManualGSGI).";
        case GsGiSource::NoScans:
            return "No scan is loaded: GS and GI are kept as the boxes show them.";
        case GsGiSource::NoSlitChecked:
            return "No slit is checked: GS and GI are kept as the boxes show them.";
        case GsGiSource::TooFewScans:
            return "Fewer than 3 scans after the first take part in the fit: GS and GI are kept "
                   "as the boxes show them.";
    }
    return "";
}

}  // namespace gatool
