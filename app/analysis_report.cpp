// \brief Reports of `gatool analyze`; see analysis_report.h.
#include "app/analysis_report.h"

#include <cstdio>
#include <sstream>

#include "app/csv_report.h"
#include "app/failure_place.h"
#include "app/json_text.h"
#include "app/load_notes.h"
#include "app/text_report_tables.h"

namespace gatool {

namespace {

// The scans the report shows: all loaded ones, or those read before a failure.
int ShownScanCount(const FileAnalysis& analysis) {
    return analysis.Failure ? analysis.Outcome.ScansRead : analysis.State.Test->LastScan + 1;
}

std::string SlitList(const GsGiInputs& controls) {
    std::string list;
    for (std::size_t s = 0; s < SlitCount; ++s) {
        if (controls.SlitChecked[s]) {
            list += (list.empty() ? "" : ",") + std::to_string(s);
        }
    }
    return list.empty() ? "none" : list;
}

void PrintCiPoints(const char* title, const std::vector<CiPoint>& points, std::ostream& out) {
    out << title << " (wavelength in Angstrom, loss in percent):\n";
    CiTable(points).Print(out);
}

std::string JsonDate(const std::optional<std::chrono::year_month_day>& date) {
    if (!date) {
        return "null";
    }
    char text[40];
    std::snprintf(text, sizeof text, "\"%04d-%02u-%02u\"", static_cast<int>(date->year()),
                  static_cast<unsigned>(date->month()), static_cast<unsigned>(date->day()));
    return text;
}

std::string JsonHeader(const GaHeader& header) {
    return "{\"integration_time\":" + JsonNumber(header.IntegrationTime) +
           ",\"dead_time\":" + JsonNumber(header.DeadTime) + ",\"cy\":" + JsonNumber(header.Cy) +
           ",\"test_date\":" + JsonDate(header.TestDate) +
           ",\"header_text\":" + JsonString(header.HeaderText) +
           ",\"pr\":" + JsonNumber(header.Pr) + "}";
}

std::string JsonSlit(const ScanRecord& record, std::size_t s) {
    return "{\"peak_index\":" + JsonNumber(record.PeakIndex[s]) +
           ",\"peak_pos\":" + JsonNumber(record.PeakPos[s]) +
           ",\"peak_count\":" + JsonNumber(record.PeakCount[s]) +
           ",\"peak_offset\":" + JsonNumber(record.PeakOffset[s]) +
           ",\"fit_a0\":" + JsonNumber(record.FitA0[s]) +
           ",\"fit_a1\":" + JsonNumber(record.FitA1[s]) +
           ",\"fit_a2\":" + JsonNumber(record.FitA2[s]) +
           ",\"near_index\":" + JsonNumber(record.NearIndex[s]) +
           ",\"centre_of_mass\":" + JsonNumber(record.CentreOfMass[s]) + "}";
}

std::string JsonScan(const ScanRecord& record) {
    std::string json = "{\"mid_pos\":" + JsonNumber(record.MidPos) +
                       ",\"step_width\":" + JsonNumber(record.StepWidth) +
                       ",\"vertex_offset\":" + JsonNumber(record.VertexOffset) + ",\"slits\":[";
    for (std::size_t s = 0; s < SlitCount; ++s) {
        json += (s > 0 ? "," : "") + JsonSlit(record, s);
    }
    return json + "]}";
}

std::string JsonPoints(const std::vector<CiPoint>& points) {
    std::string json = "[";
    for (const CiPoint& point : points) {
        json += (json.size() > 1 ? "," : "") +
                ("[" + JsonNumber(point.Wavelength) + "," + JsonNumber(point.Loss) + "]");
    }
    return json + "]";
}

// Where GS and GI came from, when they were not fitted.
std::optional<std::string> GsGiSourceNote(const ToolState& state) {
    if (state.SlopeFit && state.SlopeFit->Source != GsGiSource::Fit) {
        return DescribeGsGiSource(state.SlopeFit->Source);
    }
    return std::nullopt;
}

std::string JsonPlace(const FileAnalysis& analysis) {
    const LoadPlace& place = analysis.State.Place;
    return place.Stage == LoadStage::None ? "null" : JsonFailurePlace(place, analysis.DcfFile);
}

// The notes of the text report on a load that ran to its end.
std::vector<std::string> FileNotes(const FileAnalysis& analysis) {
    std::vector<std::string> notes =
        GaLoadNotes(analysis.Outcome, analysis.State.Test->LastScan + 1);
    if (auto note = GsGiSourceNote(analysis.State)) {
        notes.push_back(std::move(*note));
    }
    return notes;
}

// Every note of the text report, and the DCF file's, which the text prints once for all files.
std::string JsonNotes(const FileAnalysis& analysis) {
    std::vector<std::string> notes;
    if (!analysis.Failure) {
        notes = FileNotes(analysis);
    }
    if (analysis.DcfFile && analysis.DcfNumbersRead < 18) {
        notes.push_back(*analysis.DcfFile + ": " + ShortDcfNote(analysis.DcfNumbersRead));
    }
    std::string json = "[";
    for (const std::string& note : notes) {
        json += (json.size() > 1 ? "," : "") + JsonString(note);
    }
    return json + "]";
}

// A failed load's message, where it struck and the scans read before it.
void PrintFailure(const FileAnalysis& analysis, std::ostream& err) {
    err << analysis.File << ": " << *analysis.Failure << '\n';
    if (analysis.State.Place.Stage != LoadStage::None) {
        err << analysis.File << ": " << DescribeFailurePlace(analysis.State.Place, analysis.DcfFile)
            << '\n';
    }
    err << analysis.File << ": " << analysis.Outcome.ScansRead
        << " scans read before the failure\n";
}

void PrintNoFitFailure(const FileAnalysis& analysis, std::ostream& err) {
    if (const auto failure = NoFitFailure(analysis)) {
        err << analysis.File << ": " << *failure << '\n';
    }
}

}  // namespace

std::optional<std::string> NoFitFailure(const FileAnalysis& analysis) {
    const std::optional<GsGiResult>& fit = analysis.State.SlopeFit;
    if (analysis.Failure || !fit || fit->Source == GsGiSource::Fit ||
        fit->Source == GsGiSource::Manual) {
        return std::nullopt;
    }
    return std::string("GS and GI could not be fitted; give them with --manual GS GI");
}

void PrintTextReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err) {
    if (analysis.Failure) {
        PrintFailure(analysis, err);
        return;
    }
    const ToolState& state = analysis.State;
    const GaTest& test = *state.Test;
    out << analysis.File << ": " << test.LastScan + 1 << " scans, "
        << (state.Window == FitWindow::FivePoint ? 5 : 7) << "-point fit, slits "
        << SlitList(state.Controls) << '\n';
    for (const std::string& note : GaLoadNotes(analysis.Outcome, test.LastScan + 1)) {
        out << "note: " << note << '\n';
    }
    out << "GS = " << state.Controls.GsText << "  GI = " << state.Controls.GiText << '\n';
    if (const auto note = GsGiSourceNote(state)) {
        out << "note: " << *note << '\n';
    }
    PeakTable(test, ShownScanCount(analysis)).Print(out);
    PrintCiPoints("CI slit 1", state.Ci.Slit1, out);
    PrintCiPoints("CI slit 5", state.Ci.Slit5, out);
    PrintNoFitFailure(analysis, err);
}

void PrintCsvReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err) {
    if (analysis.Failure) {
        PrintFailure(analysis, err);
        return;
    }
    for (const std::string& note : FileNotes(analysis)) {
        err << analysis.File << ": note: " << note << '\n';
    }
    PrintCsvRows(analysis.File, analysis.State, ShownScanCount(analysis), out);
    PrintNoFitFailure(analysis, err);
}

void PrintJsonReport(const FileAnalysis& analysis, std::ostream& out) {
    const ToolState& state = analysis.State;
    const GaTest& test = *state.Test;
    std::string scans = "[";
    for (std::size_t k = 0; k < static_cast<std::size_t>(ShownScanCount(analysis)); ++k) {
        scans += (k > 0 ? "," : "") + JsonScan(test.Scans[k]);
    }
    scans += "]";
    const bool derived = state.SlopeFit.has_value();
    const std::optional<std::string> failure =
        analysis.Failure ? analysis.Failure : NoFitFailure(analysis);
    const std::string error =
        failure ? "{\"message\":" + JsonString(*failure) +
                      ",\"scans_loaded\":" + JsonNumber(analysis.Outcome.ScansRead) +
                      ",\"place\":" + JsonPlace(analysis) + "}"
                : "null";
    out << "{\"file\":" << JsonString(analysis.File) << ",\"header\":" << JsonHeader(test.Header)
        << ",\"last_scan\":" << test.LastScan << ",\"scans\":" << scans
        << ",\"gs_text\":" << JsonString(state.Controls.GsText)
        << ",\"gi_text\":" << JsonString(state.Controls.GiText)
        << ",\"gs\":" << (derived ? JsonNumber(state.SlopeFit->GS) : "null")
        << ",\"gi\":" << (derived ? JsonNumber(state.SlopeFit->GI) : "null")
        << ",\"ci\":{\"slit1\":" << JsonPoints(state.Ci.Slit1)
        << ",\"slit5\":" << JsonPoints(state.Ci.Slit5) << "},\"notes\":" << JsonNotes(analysis)
        << ",\"error\":" << error << "}\n";
}

}  // namespace gatool
