// Tests of `gatool analyze`: the text and JSON reports, failing files and the exit status.
#include "app/analyze_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/load_flows.h"
#include "numtext/number_marks.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun Analyze(std::vector<std::string_view> arguments) {
    std::ostringstream out, err;
    const int status = RunAnalyzeCommand(arguments, out, err);
    return {status, out.str(), err.str()};
}

std::string WriteTemporary(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

const std::string SampleGa = GATOOL_SAMPLES_DIR "/GA_sample.txt";
const std::string SampleDcf = GATOOL_SAMPLES_DIR "/DCF_sample.txt";

class AnalyzeCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { SetNumberMarks(".", ","); }

    // What the load flows compute for the samples, the DCF file loaded first, with `window`.
    static void LoadSamples(ToolState& expected, FitWindow window) {
        expected.Window = window;
        ComputedRefreshes refreshes(expected);
        InputStream dcf = InputStream::FromFile(SampleDcf);
        LoadDcfFile(expected, dcf, refreshes);
        InputStream ga = InputStream::FromFile(SampleGa);
        GaLoadOutcome outcome;
        LoadGaFile(expected, ga, refreshes, outcome);
    }
};

TEST_F(AnalyzeCommandTest, RefusesABadCommandLineWithOneLineAndStatusTwo) {
    const CommandRun run = Analyze({"GA1", "--fit", "6"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "gatool analyze: --fit takes 5 or 7, not \"6\" (see gatool analyze --help)\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(AnalyzeCommandTest, ExplainsEveryOption) {
    const CommandRun run = Analyze({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option :
         {"--dcf", "--fit 5|7", "--slits", "--centre-mass", "--manual", "--json"}) {
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
    }
}

TEST_F(AnalyzeCommandTest, PrintsWhatTheLoadFlowsComputeForTheSamples) {
    const CommandRun run = Analyze({SampleGa, "--dcf", SampleDcf});
    ASSERT_EQ(run.status, 0) << run.err;

    ToolState expected;
    LoadSamples(expected, FitWindow::SevenPoint);

    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, SampleGa + ": 20 scans, 7-point fit, slits 1");
    std::getline(lines, line);
    EXPECT_EQ(line, "GS = " + expected.Controls.GsText + "  GI = " + expected.Controls.GiText);
    // The true GS and GI of the sample are 1.0012 and -4.2.
    EXPECT_NEAR(expected.SlopeFit->GS, 1.0012, 2e-4);
    EXPECT_NEAR(expected.SlopeFit->GI, -4.2, 0.3);
    std::getline(lines, line);
    EXPECT_EQ(line, "scan mid_pos slit step position height offset centre_of_mass");
    for (int row = 0; row < 20 * 6; ++row) {
        std::getline(lines, line);
        std::istringstream fields(line);
        std::size_t scan, slit;
        int step;
        float midPos, position, height, offset;
        double centreOfMass;
        ASSERT_TRUE(fields >> scan >> midPos >> slit >> step >> position >> height >> offset >>
                    centreOfMass);
        const ScanRecord& record = expected.Test->Scans[scan];
        EXPECT_EQ(midPos, record.MidPos);
        EXPECT_EQ(step, record.PeakIndex[slit]);
        EXPECT_EQ(position, record.PeakPos[slit]);
        EXPECT_EQ(height, record.PeakCount[slit]);
        EXPECT_EQ(offset, record.PeakOffset[slit]);
        EXPECT_EQ(centreOfMass, record.CentreOfMass[slit]);
    }
    std::getline(lines, line);
    EXPECT_EQ(line, "CI slit 1 (wavelength loss):");
    for (const CiPoint& point : expected.Ci.Slit1) {
        std::getline(lines, line);
        double wavelength, loss;
        std::istringstream(line) >> wavelength >> loss;
        EXPECT_EQ(wavelength, point.Wavelength);
        EXPECT_EQ(loss, point.Loss);
    }
    std::getline(lines, line);
    EXPECT_EQ(line, "CI slit 5 (wavelength loss):");
    // The sample DCF file puts slit 5 of scans 0 to 9 below 3450 Angstrom, and 10 to 18 above.
    EXPECT_EQ(expected.Ci.Slit1.size(), 19u);
    EXPECT_EQ(expected.Ci.Slit5.size(), 9u);
}

TEST_F(AnalyzeCommandTest, WritesJsonThatReadsBackToTheSameValues) {
    const CommandRun run = Analyze({SampleGa, "--dcf", SampleDcf, "--json", "--fit", "5"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json json = nlohmann::json::parse(run.out);

    ToolState expected;
    LoadSamples(expected, FitWindow::FivePoint);
    const GaTest& test = *expected.Test;

    EXPECT_EQ(json["file"], SampleGa);
    EXPECT_EQ(json["header"]["integration_time"], 0.5);
    EXPECT_EQ(json["header"]["dead_time"], 5e-8);
    EXPECT_EQ(json["header"]["cy"], 4);
    EXPECT_EQ(json["header"]["test_date"], "2024-03-14");
    EXPECT_EQ(json["header"]["header_text"], test.Header.HeaderText);
    EXPECT_EQ(json["header"]["pr"], 1);
    EXPECT_EQ(json["last_scan"], 19);
    ASSERT_EQ(json["scans"].size(), 20u);
    for (std::size_t k = 0; k < 20; ++k) {
        const auto& scan = json["scans"][k];
        const ScanRecord& record = test.Scans[k];
        EXPECT_EQ(scan["mid_pos"].get<float>(), record.MidPos);
        EXPECT_EQ(scan["step_width"].get<float>(), record.StepWidth);
        EXPECT_EQ(scan["vertex_offset"].get<float>(), record.VertexOffset);
        for (std::size_t s = 0; s < SlitCount; ++s) {
            const auto& slit = scan["slits"][s];
            EXPECT_EQ(slit["peak_index"], record.PeakIndex[s]);
            EXPECT_EQ(slit["peak_pos"].get<float>(), record.PeakPos[s]);
            EXPECT_EQ(slit["peak_count"].get<float>(), record.PeakCount[s]);
            EXPECT_EQ(slit["peak_offset"].get<float>(), record.PeakOffset[s]);
            EXPECT_EQ(slit["fit_a0"].get<float>(), record.FitA0[s]);
            EXPECT_EQ(slit["fit_a1"].get<float>(), record.FitA1[s]);
            EXPECT_EQ(slit["fit_a2"].get<float>(), record.FitA2[s]);
            EXPECT_EQ(slit["near_index"], record.NearIndex[s]);
            EXPECT_EQ(slit["centre_of_mass"].get<double>(), record.CentreOfMass[s]);
        }
    }
    EXPECT_EQ(json["gs_text"], expected.Controls.GsText);
    EXPECT_EQ(json["gi_text"], expected.Controls.GiText);
    EXPECT_EQ(json["gs"].get<double>(), expected.SlopeFit->GS);
    EXPECT_EQ(json["gi"].get<double>(), expected.SlopeFit->GI);
    ASSERT_EQ(json["ci"]["slit5"].size(), expected.Ci.Slit5.size());
    for (std::size_t i = 0; i < expected.Ci.Slit5.size(); ++i) {
        EXPECT_EQ(json["ci"]["slit5"][i][0].get<double>(), expected.Ci.Slit5[i].Wavelength);
        EXPECT_EQ(json["ci"]["slit5"][i][1].get<double>(), expected.Ci.Slit5[i].Loss);
    }
    EXPECT_EQ(json["ci"]["slit1"].size(), expected.Ci.Slit1.size());
    EXPECT_TRUE(json["error"].is_null());
}

TEST_F(AnalyzeCommandTest, ReportsFailingFilesAndGoesOnWithTheOthers) {
    const std::string failing =
        WriteTemporary("GA_failing.txt",
                       testing::HeaderText() + testing::BlockText(100, 1000, 4) +
                           testing::BlockText(100, 1010, 4) +
                           testing::BlockText(100, 1020, 4, [](int, int i) { return 10.0 * i; }));
    const std::string misnamed = WriteTemporary("sample.txt", testing::GaText(3));
    const CommandRun run = Analyze({failing, misnamed, SampleGa});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, failing + ": Invalid floating point operation\n" + failing +
                           ": 2 scans read before the failure\n" + misnamed +
                           ": The name of the file must start with GA!\n" + misnamed +
                           ": 0 scans read before the failure\n");
    EXPECT_NE(run.out.find(SampleGa + ": 20 scans"), std::string::npos);

    const CommandRun json = Analyze({failing, "--json"});
    EXPECT_EQ(json.status, 1);
    const nlohmann::json report = nlohmann::json::parse(json.out);
    EXPECT_EQ(report["error"]["message"], "Invalid floating point operation");
    EXPECT_EQ(report["error"]["scans_loaded"], 2);
    EXPECT_EQ(report["last_scan"], 2);
    EXPECT_EQ(report["scans"].size(), 2u);
    EXPECT_TRUE(report["gs"].is_null());
}

TEST_F(AnalyzeCommandTest, TakesGsAndGiAsTypedWithManual) {
    const CommandRun run = Analyze({SampleGa, "--manual", "1.0033333", "-0.333", "--slits", "2,4"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("GS = 1.00333  GI = -0.33\n"), std::string::npos);
    EXPECT_NE(run.out.find("slits 2,4"), std::string::npos);

    const CommandRun bad = Analyze({SampleGa, "--manual", "1,5", "0"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, SampleGa + ": '1,5' is not a valid floating point value\n" + SampleGa +
                           ": 20 scans read before the failure\n");
}

TEST_F(AnalyzeCommandTest, StopsBeforeTheGaFilesAtABadDcfFile) {
    const CommandRun run = Analyze({SampleGa, "--dcf", SampleGa});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, SampleGa + ": The name of the file must start with DCF!\n");
    EXPECT_EQ(run.out, "");

    const std::string shortDcf = WriteTemporary("DCF_short.txt", "1 2 3 x");
    const CommandRun note = Analyze({SampleGa, "--dcf", shortDcf});
    EXPECT_EQ(note.status, 0);
    EXPECT_EQ(note.err, shortDcf +
                            ": note: only 3 of the 18 dispersion coefficients could be read; "
                            "the rest stay 0\n");
}

TEST_F(AnalyzeCommandTest, SaysWhenOnlyTheFirstFiftyScansWereLoaded) {
    const std::string path = WriteTemporary("GA_long.txt", testing::GaText(MaxScans + 1));
    const CommandRun run = Analyze({path});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("note: the file holds more than 50 scans; the first 50 were loaded\n"),
              std::string::npos);
}

TEST_F(AnalyzeCommandTest, SaysWhenAFileCannotBeOpened) {
    const CommandRun run = Analyze({"/nonexistent/GA0001.TXT"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "/nonexistent/GA0001.TXT: Cannot open \"/nonexistent/GA0001.TXT\": No such file or "
              "directory");
}

}  // namespace
}  // namespace gatool
