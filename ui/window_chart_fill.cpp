// \brief Filling the main window's charts; see window_chart_fill.h.
#include "ui/window_chart_fill.h"

#include <cmath>
#include <optional>

#include "analysis/peak_figures.h"
#include "analysis/scan_samples.h"
#include "base/exceptions.h"
#include "base/float_faults.h"
#include "numtext/float_to_general_text.h"
#include "numtext/float_to_pattern_text.h"
#include "numtext/parse_float_text.h"
#include "ui/load_notes.h"

namespace gatool {

namespace {

constexpr TColor PointRed = RgbColor(0xFF0000);
constexpr TColor PointGreen = RgbColor(0x008000);
constexpr TColor PointBlue = RgbColor(0x0000FF);
constexpr TColor PointBlack = RgbColor(0x000000);

// Asymmetry " / " curvature of the peak; an asymmetry that cannot be computed shows as "0".
std::string PeakText(const ScanRecord& record, int slit) {
    const std::optional<double> asymmetry = PeakAsymmetry(record, slit);
    const std::string first = asymmetry ? FloatToPatternText("##0.0%", *asymmetry) : "0";
    return first + " / " + FloatToPatternText("##0.0%", PeakCurvature(record, slit));
}

// The GS/GI marker: where the boxes' GS and GI put the peak, and the loss there. Every result is
// stored as a single before it is used.
void AddGsGiMarker(TLineSeries& series,
                   const ScanRecord& record,
                   int slit,
                   const GsGiInputs& boxes) {
    const auto b = static_cast<std::size_t>(slit);
    const Extended a0 = record.FitA0[b];
    const Extended a1 = record.FitA1[b];
    const Extended a2 = record.FitA2[b];
    const Extended x = record.VertexOffset;
    const Extended w = record.StepWidth;
    const float height = ToSingle(x * x * a2 + x * a1 + a0);
    const Extended gs = ParseFloatText(boxes.GsText);
    const float position = ToSingle(gs * record.MidPos + ParseFloatText(boxes.GiText));
    const Extended d = ToSingle(Extended{position} - PositionAt(record, record.PeakIndex[b]));
    const float there = ToSingle(Divide(Divide(d * d * a2, w), w) + Divide(d * a1, w) + a0);
    const float loss = ToSingle(Divide(Extended{height} - there, height) * 100);
    const double peak = record.PeakCount[b];
    series.AddPoint(position, peak * 1.05, "GS/GI", PointBlue);
    series.AddPoint(position, peak / 3, FloatToPatternText("##0.0%", loss), PointBlue);
    series.AddPoint(position, peak * 0.2, FloatToPatternText("####", position), PointBlue);
}

// Empties every series of ScanGraph.
void ClearScanSeries(ScanGraphForm& form) {
    for (TLineSeries* series : form.ScanSlitSeries) {
        series->ClearPoints();
    }
    for (TLineSeries* series : {&form.Series7, &form.Series5, &form.Series6, &form.Series26}) {
        series->ClearPoints();
    }
}

}  // namespace

void ShowScan(ScanGraphForm& form,
              const ScanRecord& record,
              int slit,
              FitWindow window,
              const std::string& fileName,
              const GsGiInputs& boxes) {
    ClearScanSeries(form);
    const auto b = static_cast<std::size_t>(slit);
    TLineSeries& counts = *form.ScanSlitSeries[b];
    for (int step = 1; step <= StepCount; ++step) {
        const float position = PositionAt(record, step);
        counts.AddPoint(position, CountAt(record, slit, step), FloatToGeneralText(position),
                        step == record.PeakIndex[b] ? PointRed : PointGreen);
    }
    const std::string curveLabel(129, ' ');
    for (const CurvePoint& point : FitCurve(record, slit, window)) {
        form.Series5.AddPoint(point.X, point.Y, curveLabel, PointRed);
    }
    form.Series26.AddPoint(record.CentreOfMass[b], 0, "", PointBlue);

    const std::string peakText = PeakText(record, slit);
    const double peakPos = record.PeakPos[b];
    const double peakCount = record.PeakCount[b];
    form.Series7.AddPoint(peakPos, peakCount, "Fit", PointRed);
    form.Series7.AddPoint(peakPos, peakCount * 2 / 3, peakText, PointRed);
    form.Series7.AddPoint(peakPos, 0, FloatToPatternText("####", peakPos), PointRed);

    AddGsGiMarker(form.Series6, record, slit, boxes);
    form.ScanGraph.Title().SetText(fileName + ",   Slit " + FloatToPatternText("0", slit));
}

void ShowNoScan(ScanGraphForm& form, const std::string& fileName) {
    ClearScanSeries(form);
    form.ScanGraph.Title().SetText(fileName + ",   no scan in the file");
}

void ShowSlopePoints(SlopeGraphForm& form,
                     const GaTest& test,
                     const std::array<bool, SlitCount>& slitChecked) {
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        form.SlopeMarkSeries[slit]->ClearPoints();
        form.SlopeLineSeries[slit]->ClearPoints();
    }
    form.Series4.ClearPoints();
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        if (!slitChecked[slit]) {
            continue;
        }
        TLineSeries& line = *form.SlopeLineSeries[slit];
        for (int scan = 0; scan <= test.LastScan; ++scan) {
            const ScanRecord& record = test.Scans[static_cast<std::size_t>(scan)];
            const double midPos = record.MidPos;
            const double offset = record.PeakOffset[slit];
            const std::string label = FloatToGeneralText(record.MidPos);
            form.SlopeMarkSeries[slit]->AddPoint(midPos, offset, label,
                                                 scan == test.SelectedScan ? PointRed : PointBlue);
            line.AddPoint(midPos, offset, label, line.SeriesColor());
        }
    }
}

void ShowGsGiLine(SlopeGraphForm& form, const std::array<SlopePoint, 2>& ends) {
    form.Series4.ClearPoints();
    for (const SlopePoint& end : ends) {
        form.Series4.AddPoint(end.X, end.Y, " ", PointBlack);
    }
}

void ShowSlopeLine(SlopeGraphForm& form, const GsGiResult& fit) {
    if (fit.Line) {
        ShowGsGiLine(form, *fit.Line);
    }
    form.SlopeGraph.Title().SetText(GsGiBelongToFile(fit.Source)
                                        ? GsGiTitle(fit.GS, fit.GI)
                                        : NoFitTitle(GsBoxText(fit.GS), GiBoxText(fit.GI)));
}

namespace {

std::string TitleOfTexts(const std::string& gsText, const std::string& giText) {
    return "GS = " + gsText + "  GI = " + giText;
}

}  // namespace

std::string GsGiTitle(double gs, double gi) {
    return TitleOfTexts(GsBoxText(gs), GiBoxText(gi));
}

std::string NoFitTitle(const std::string& gsText, const std::string& giText) {
    return "No fit:  " + TitleOfTexts(gsText, giText);
}

void ClearCiCurves(CiGraphForm& form) {
    form.Series24.ClearPoints();
    form.Series25.ClearPoints();
}

void AddCiCurves(CiGraphForm& form, const CiCurves& curves) {
    for (const CiPoint& point : curves.Slit1) {
        form.Series24.AddPoint(point.Wavelength, point.Loss, "", PointBlue);
    }
    for (const CiPoint& point : curves.Slit5) {
        form.Series25.AddPoint(point.Wavelength, point.Loss, "", PointGreen);
    }
}

void FixCiRange(CiGraphForm& form) {
    TChartAxis& axis = form.CIGraph.LeftAxis();
    axis.SetAutomatic(false);
    axis.SetAxisRange(0, std::ceil(2 * axis.Maximum()) / 2);
}

}  // namespace gatool
