// Tests of `gatool analyze`: the text and JSON reports, failing files and the exit status.
#include "app/analyze_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
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

// The header and `rows` rows of a table of the text report.
std::vector<std::string> TableLines(std::istream& lines, std::size_t rows) {
    std::vector<std::string> table(rows + 1);
    for (std::string& line : table) {
        std::getline(lines, line);
    }
    return table;
}

std::vector<std::string> Cells(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> cells;
    for (std::string cell; in >> cell;) {
        cells.push_back(cell);
    }
    return cells;
}

// Where each cell ends on its line, counted in characters.
std::vector<std::size_t> CellEnds(const std::string& line) {
    std::vector<std::size_t> ends;
    std::size_t column = 0;
    bool inCell = false;
    for (const char c : line) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) {
            continue;
        }
        if (inCell && c == ' ') {
            ends.push_back(column);
        }
        inCell = c != ' ';
        ++column;
    }
    if (inCell) {
        ends.push_back(column);
    }
    return ends;
}

// The header as given, and every cell of every row ending where its column's header ends.
void ExpectAligned(const std::vector<std::string>& table, const std::vector<std::string>& header) {
    EXPECT_EQ(Cells(table[0]), header);
    const std::vector<std::size_t> ends = CellEnds(table[0]);
    for (std::size_t row = 1; row < table.size(); ++row) {
        EXPECT_EQ(CellEnds(table[row]), ends) << table[row];
    }
}

// A cell that shows `value` rounded to `decimals` decimals, with the decimal mark in force.
void ExpectRounded(std::string cell, double value, int decimals) {
    SCOPED_TRACE(cell);
    const std::size_t mark = cell.find(DecimalMark());
    if (decimals == 0) {
        EXPECT_EQ(mark, std::string::npos);
    } else {
        ASSERT_NE(mark, std::string::npos);
        EXPECT_EQ(cell.size() - mark - DecimalMark().size(), static_cast<std::size_t>(decimals));
        cell.replace(mark, DecimalMark().size(), ".");
    }
    EXPECT_LE(std::abs(std::stod(cell) - value), 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9));
}

// The fields of one CSV line, with quoted fields unquoted.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// A number of the CSV output, which must be the whole field.
template <typename Number>
Number Read(const std::string& field) {
    Number value{};
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    EXPECT_TRUE(result.ec == std::errc{} && result.ptr == field.data() + field.size()) << field;
    return value;
}

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

TEST_F(AnalyzeCommandTest, PrintsWhatTheLoadFlowsComputeForTheSamplesInAlignedColumns) {
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

    // Per scan and slit: the midpoint with 2 decimals, the peak position as the scan chart's
    // marker shows it (no decimals), the height with 1, the offset and the centre of mass with 3.
    const std::vector<std::string> peaks = TableLines(lines, 20 * 6);
    ExpectAligned(peaks, {"scan", "mid_pos", "slit", "step", "position", "height", "offset",
                          "centre_of_mass"});
    for (std::size_t row = 0; row < 20 * 6; ++row) {
        const std::vector<std::string> cells = Cells(peaks[row + 1]);
        ASSERT_EQ(cells.size(), 8u) << peaks[row + 1];
        const std::size_t scan = std::stoul(cells[0]);
        const std::size_t slit = std::stoul(cells[2]);
        EXPECT_EQ(scan * 6 + slit, row);
        const ScanRecord& record = expected.Test->Scans[scan];
        ExpectRounded(cells[1], record.MidPos, 2);
        EXPECT_EQ(std::stoi(cells[3]), record.PeakIndex[slit]);
        ExpectRounded(cells[4], record.PeakPos[slit], 0);
        ExpectRounded(cells[5], record.PeakCount[slit], 1);
        ExpectRounded(cells[6], record.PeakOffset[slit], 3);
        ExpectRounded(cells[7], record.CentreOfMass[slit], 3);
    }

    // The CI points: wavelength with 2 decimals, the loss in percent with 4.
    // The sample DCF file puts slit 5 of scans 0 to 9 below 3450 Angstrom, and 10 to 18 above.
    ASSERT_EQ(expected.Ci.Slit1.size(), 19u);
    ASSERT_EQ(expected.Ci.Slit5.size(), 9u);
    for (const auto& [title, points] :
         {std::pair{"CI slit 1 (wavelength in Angstrom, loss in percent):", &expected.Ci.Slit1},
          std::pair{"CI slit 5 (wavelength in Angstrom, loss in percent):", &expected.Ci.Slit5}}) {
        SCOPED_TRACE(title);
        std::getline(lines, line);
        EXPECT_EQ(line, title);
        const std::vector<std::string> ci = TableLines(lines, points->size());
        ExpectAligned(ci, {"wavelength", "loss"});
        for (std::size_t i = 0; i < points->size(); ++i) {
            const std::vector<std::string> cells = Cells(ci[i + 1]);
            ASSERT_EQ(cells.size(), 2u) << ci[i + 1];
            ExpectRounded(cells[0], (*points)[i].Wavelength, 2);
            ExpectRounded(cells[1], (*points)[i].Loss, 4);
        }
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
}

TEST_F(AnalyzeCommandTest, AlignsTheColumnsWithAMultiByteDecimalMark) {
    SetNumberMarks("\u066B", ",");
    const CommandRun run = Analyze({SampleGa, "--dcf", SampleDcf});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line);
    const std::vector<std::string> peaks = TableLines(lines, 20 * 6);
    ExpectAligned(peaks, {"scan", "mid_pos", "slit", "step", "position", "height", "offset",
                          "centre_of_mass"});
    EXPECT_NE(peaks[1].find("\u066B"), std::string::npos) << peaks[1];
}

TEST_F(AnalyzeCommandTest, WritesCsvWithOneHeaderAndEveryDigitForAllFiles) {
    const CommandRun run = Analyze({SampleGa, "--dcf", SampleDcf, "--csv", SampleGa});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    ToolState expected;
    LoadSamples(expected, FitWindow::SevenPoint);
    const GaTest& test = *expected.Test;
    const std::vector<std::string> header = {
        "file",   "kind",   "scan",           "slit",       "mid_pos", "step", "position",
        "height", "offset", "centre_of_mass", "wavelength", "loss",    "gs",   "gi"};

    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(CsvFields(line), header);
    const std::size_t rowsPerFile = 20 * 6 + expected.Ci.Slit1.size() + expected.Ci.Slit5.size();
    std::size_t rows = 0;
    while (std::getline(lines, line)) {
        SCOPED_TRACE(line);
        const std::vector<std::string> fields = CsvFields(line);
        ASSERT_EQ(fields.size(), header.size());
        const std::size_t index = rows++ % rowsPerFile;
        EXPECT_EQ(fields[0], SampleGa);
        EXPECT_EQ(Read<double>(fields[12]), expected.SlopeFit->GS);
        EXPECT_EQ(Read<double>(fields[13]), expected.SlopeFit->GI);
        if (index < 20 * 6) {
            EXPECT_EQ(fields[1], "peak");
            const std::size_t scan = index / 6;
            const std::size_t slit = index % 6;
            EXPECT_EQ(fields[2], std::to_string(scan));
            EXPECT_EQ(fields[3], std::to_string(slit));
            const ScanRecord& record = test.Scans[scan];
            EXPECT_EQ(Read<float>(fields[4]), record.MidPos);
            EXPECT_EQ(Read<int>(fields[5]), record.PeakIndex[slit]);
            EXPECT_EQ(Read<float>(fields[6]), record.PeakPos[slit]);
            EXPECT_EQ(Read<float>(fields[7]), record.PeakCount[slit]);
            EXPECT_EQ(Read<float>(fields[8]), record.PeakOffset[slit]);
            EXPECT_EQ(Read<double>(fields[9]), record.CentreOfMass[slit]);
            EXPECT_EQ(fields[10] + fields[11], "");
        } else {
            EXPECT_EQ(fields[1], "ci");
            const std::size_t point = index - 20 * 6;
            const bool slit1 = point < expected.Ci.Slit1.size();
            const CiPoint& expectedPoint =
                slit1 ? expected.Ci.Slit1[point]
                      : expected.Ci.Slit5[point - expected.Ci.Slit1.size()];
            EXPECT_EQ(fields[3], slit1 ? "1" : "5");
            EXPECT_EQ(Read<double>(fields[10]), expectedPoint.Wavelength);
            EXPECT_EQ(Read<double>(fields[11]), expectedPoint.Loss);
            for (std::size_t f : {2, 4, 5, 6, 7, 8, 9}) {
                EXPECT_EQ(fields[f], "") << header[f];
            }
        }
    }
    EXPECT_EQ(rows, 2 * rowsPerFile);
}

TEST_F(AnalyzeCommandTest, KeepsCsvOutputToRowsAndFailuresAndNotesToErrors) {
    const std::string misnamed = WriteTemporary("sample.txt", testing::GaText(3));
    const std::string noBlocks = WriteTemporary("GA_no_blocks.txt", testing::HeaderText());
    const CommandRun run = Analyze({misnamed, noBlocks, "--csv"});
    EXPECT_EQ(run.status, 1);
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with("file,kind,")) << line;
    EXPECT_FALSE(std::getline(lines, line)) << line;
    EXPECT_NE(run.err.find(misnamed + ": The name of the file must start with GA!\n"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(noBlocks + ": note: No scan is loaded"), std::string::npos) << run.err;
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
                           ": in the peak location of scan 2, slit 0\n" + failing +
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

    // Refused before any file is read: the missing file is never opened.
    const CommandRun bad = Analyze({"/nonexistent/GA1.txt", "--manual", "1,5", "0"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err,
              "gatool analyze: --manual GS: '1,5' is not a valid floating point value (see gatool "
              "analyze --help)\n");
    EXPECT_EQ(bad.out, "");
}

TEST_F(AnalyzeCommandTest, FailsAFileFromWhichNoGsAndGiCouldBeFittedUnlessTheyAreTyped) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string_view> options;
        bool fitted;
    } const cases[] = {
        {"GA_none.txt", testing::HeaderText(), {}, false},
        {"GA_one.txt", testing::GaText(1), {}, false},
        {"GA_three.txt", testing::GaText(3), {}, false},
        {"GA_four.txt", testing::GaText(4), {}, true},
        {"GA_four_no_slit.txt", testing::GaText(4), {"--slits", ""}, false},
    };
    const std::string message = ": GS and GI could not be fitted; give them with --manual GS GI\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteTemporary(c.name, c.text);
        for (const bool json : {false, true}) {
            std::vector<std::string_view> arguments{path};
            arguments.insert(arguments.end(), c.options.begin(), c.options.end());
            if (json) {
                arguments.push_back("--json");
            }
            const CommandRun run = Analyze(arguments);
            EXPECT_EQ(run.status, c.fitted ? 0 : 1);
            if (json) {
                const nlohmann::json report = nlohmann::json::parse(run.out);
                EXPECT_EQ(report["error"].is_null(), c.fitted);
            } else {
                EXPECT_EQ(run.err.find(path + message) != std::string::npos, !c.fitted) << run.err;
            }
            arguments.insert(arguments.end(), {"--manual", "1", "0"});
            const CommandRun typed = Analyze(arguments);
            EXPECT_EQ(typed.status, 0) << typed.err;
        }
    }
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
