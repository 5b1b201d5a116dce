// \brief Reports of `gatool analyze`; see analysis_report.h.
#include "app/analysis_report.h"

#include <cstdio>
#include <sstream>

#include "app/json_text.h"

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
    out << title << " (wavelength loss):\n";
    for (const CiPoint& point : points) {
        out << JsonNumber(point.Wavelength) << ' ' << JsonNumber(point.Loss) << '\n';
    }
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

}  // namespace

void PrintTextReport(const FileAnalysis& analysis, std::ostream& out, std::ostream& err) {
    if (analysis.Failure) {
        err << analysis.File << ": " << *analysis.Failure << '\n'
            << analysis.File << ": " << analysis.Outcome.ScansRead
            << " scans read before the failure\n";
        return;
    }
    const ToolState& state = analysis.State;
    const GaTest& test = *state.Test;
    out << analysis.File << ": " << test.LastScan + 1 << " scans, "
        << (state.Window == FitWindow::FivePoint ? 5 : 7) << "-point fit, slits "
        << SlitList(state.Controls) << '\n';
    if (analysis.Outcome.Read.MoreScansThanRecords) {
        out << "note: the file holds more than " << MaxScans << " scans; the first " << MaxScans
            << " were loaded\n";
    }
    out << "GS = " << state.Controls.GsText << "  GI = " << state.Controls.GiText << '\n';
    if (state.SlopeFit && state.SlopeFit->Source != GsGiSource::Fit) {
        out << "note: " << DescribeGsGiSource(state.SlopeFit->Source) << '\n';
    }
    out << "scan mid_pos slit step position height offset centre_of_mass\n";
    for (std::size_t k = 0; k < static_cast<std::size_t>(ShownScanCount(analysis)); ++k) {
        const ScanRecord& record = test.Scans[k];
        for (std::size_t s = 0; s < SlitCount; ++s) {
            out << k << ' ' << JsonNumber(record.MidPos) << ' ' << s << ' ' << record.PeakIndex[s]
                << ' ' << JsonNumber(record.PeakPos[s]) << ' ' << JsonNumber(record.PeakCount[s])
                << ' ' << JsonNumber(record.PeakOffset[s]) << ' '
                << JsonNumber(record.CentreOfMass[s]) << '\n';
        }
    }
    PrintCiPoints("CI slit 1", state.Ci.Slit1, out);
    PrintCiPoints("CI slit 5", state.Ci.Slit5, out);
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
    const std::string error =
        analysis.Failure ? "{\"message\":" + JsonString(*analysis.Failure) +
                               ",\"scans_loaded\":" + JsonNumber(analysis.Outcome.ScansRead) + "}"
                         : "null";
    out << "{\"file\":" << JsonString(analysis.File) << ",\"header\":" << JsonHeader(test.Header)
        << ",\"last_scan\":" << test.LastScan << ",\"scans\":" << scans
        << ",\"gs_text\":" << JsonString(state.Controls.GsText)
        << ",\"gi_text\":" << JsonString(state.Controls.GiText)
        << ",\"gs\":" << (derived ? JsonNumber(state.SlopeFit->GS) : "null")
        << ",\"gi\":" << (derived ? JsonNumber(state.SlopeFit->GI) : "null")
        << ",\"ci\":{\"slit1\":" << JsonPoints(state.Ci.Slit1)
        << ",\"slit5\":" << JsonPoints(state.Ci.Slit5) << "},\"error\":" << error << "}\n";
}

}  // namespace gatool
