// Tests of the main window's load flows and refreshes, with the files chosen by the test instead of
// the open-file dialog: what the charts, their titles and the GS and GI boxes show afterwards, and
// the error boxes of the name tests and of failures that escape a handler.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <fstream>

#include "base/exceptions.h"
#include "message_box_catcher.h"
#include "numtext/float_to_pattern_text.h"
#include "ui/main_form.h"

namespace gatool {
namespace {

constexpr TColor PointRed = RgbColor(0xFF0000);
constexpr TColor PointGreen = RgbColor(0x008000);
constexpr TColor PointBlue = RgbColor(0x0000FF);
constexpr TColor PointBlack = RgbColor(0x000000);
const std::filesystem::path GaSample = GATOOL_SAMPLES_DIR "/GA_sample.txt";
const std::filesystem::path DcfSample = GATOOL_SAMPLES_DIR "/DCF_sample.txt";

class MainFormLoadsTest : public testing::Test {
  protected:
    // The paths the "dialog" returns in turn; nothing stands for a cancel.
    std::deque<std::optional<std::filesystem::path>> m_choices;
    std::vector<std::string> m_presets;
    TMainForm m_form{[this](const std::string& preset) {
        m_presets.push_back(preset);
        std::optional<std::filesystem::path> choice = m_choices.front();
        m_choices.pop_front();
        return choice;
    }};
    QTemporaryDir m_dir;

    void Click(const char* button) {
        QTest::mouseClick(m_form.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    void LoadGa(std::optional<std::filesystem::path> path) {
        m_choices.push_back(std::move(path));
        m_form.LoadGAClick();
    }
    void LoadDcf(std::optional<std::filesystem::path> path) {
        m_choices.push_back(std::move(path));
        m_form.LoadDCFClick();
    }
    // A copy of the first `lines` lines of the GA sample at `name` in the temporary folder.
    std::filesystem::path GaCopy(const std::string& name, int lines) {
        std::ifstream in(GaSample);
        const std::filesystem::path path =
            m_dir.filePath(QString::fromStdString(name)).toStdString();
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path);
        std::string line;
        for (int i = 0; i < lines && std::getline(in, line); ++i) {
            out << line << '\n';
        }
        return path;
    }
    QString BoxText(const char* name) { return m_form.findChild<QLineEdit*>(name)->text(); }
};

std::vector<double> YValues(const TLineSeries& series) {
    std::vector<double> values;
    for (int i = 0; i < series.Count(); ++i) {
        values.push_back(series.YValue(i));
    }
    return values;
}

TEST_F(MainFormLoadsTest, LoadGaShowsSlitOneOfScanZeroAndTheSlopeFit) {
    LoadGa(GaSample);
    const ToolState& state = m_form.State();
    ASSERT_GE(state.Test->LastScan, 2);
    EXPECT_EQ(m_presets, std::vector<std::string>{"GA*.*"});
    EXPECT_EQ(state.Test->SelectedScan, 0);

    const ScanGraphForm& scan = m_form.ScanForm();
    const ScanRecord& record = state.Test->Scans[0];
    EXPECT_EQ(scan.ScanGraph.Title().Text(),
              std::vector<std::string>{GaSample.string() + ",   Slit 1"});
    ASSERT_EQ(scan.Series13.Count(), StepCount);
    for (int i = 0; i < StepCount; ++i) {
        EXPECT_EQ(scan.Series13.PointColor(i),
                  i + 1 == record.PeakIndex[1] ? PointRed : PointGreen);
    }
    EXPECT_EQ(scan.Series1.Count(), 0);
    EXPECT_EQ(scan.Series5.Count(), 61);  // the seven-point fit's curve
    ASSERT_EQ(scan.Series7.Count(), 3);
    EXPECT_EQ(scan.Series7.PointLabel(0), "Fit");
    ASSERT_EQ(scan.Series6.Count(), 3);
    EXPECT_EQ(scan.Series6.PointLabel(0), "GS/GI");

    const SlopeGraphForm& slope = m_form.SlopeForm();
    const QString gs = BoxText("GS");
    const QString gi = BoxText("GI");
    EXPECT_EQ(slope.SlopeGraph.Title().Text(),
              std::vector<std::string>{"GS = " + gs.toStdString() + "  GI = " + gi.toStdString()});
    EXPECT_EQ(gs.toStdString(), FloatToPatternText("0.#####", state.SlopeFit->GS));
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        EXPECT_EQ(slope.SlopeLineSeries[slit]->Count(), slit == 1 ? state.Test->LastScan + 1 : 0);
    }
    const TLineSeries& marks = *slope.SlopeMarkSeries[1];
    for (int i = 0; i < marks.Count(); ++i) {
        EXPECT_EQ(marks.PointColor(i), i == 0 ? PointRed : PointBlue) << i;
    }
    ASSERT_EQ(slope.Series4.Count(), 2);
    EXPECT_EQ(slope.Series4.PointLabel(1), " ");
    EXPECT_EQ(slope.Series4.PointColor(1), PointBlack);
    // No DCF file yet: the CI chart stays empty.
    EXPECT_EQ(m_form.CiForm().Series24.Count(), 0);
}

TEST_F(MainFormLoadsTest, GaAndDcfInEitherOrderGiveTheSameCiChart) {
    LoadGa(GaSample);
    LoadDcf(DcfSample);
    const CiGraphForm& ci = m_form.CiForm();
    ASSERT_GT(ci.Series24.Count(), 0);
    ASSERT_GT(ci.Series25.Count(), 0);
    EXPECT_EQ(ci.Series24.PointColor(0), PointBlue);
    EXPECT_EQ(ci.Series25.PointColor(0), PointGreen);
    // The left axis runs from 0 to the largest loss rounded up to the next multiple of 0.5, also
    // while the chart's page is hidden.
    const std::vector<double> slit1 = YValues(ci.Series24);
    const std::vector<double> slit5 = YValues(ci.Series25);
    double largest = *std::max_element(slit1.begin(), slit1.end());
    largest = std::max(largest, *std::max_element(slit5.begin(), slit5.end()));
    EXPECT_DOUBLE_EQ(ci.CIGraph.LeftAxis().Minimum(), 0);
    EXPECT_DOUBLE_EQ(ci.CIGraph.LeftAxis().Maximum(), std::ceil(2 * largest) / 2);

    std::deque<std::filesystem::path> otherChoices{DcfSample, GaSample};
    TMainForm other{[&otherChoices](const std::string&) {
        std::optional<std::filesystem::path> choice = otherChoices.front();
        otherChoices.pop_front();
        return choice;
    }};
    other.LoadDCFClick();
    other.LoadGAClick();
    EXPECT_EQ(YValues(other.CiForm().Series24), slit1);
    EXPECT_EQ(YValues(other.CiForm().Series25), slit5);
    // The scan chart is titled with the path the dialog last held.
    EXPECT_EQ(other.ScanForm().ScanGraph.Title().Text(),
              std::vector<std::string>{GaSample.string() + ",   Slit 1"});
    m_form.ShowScan(-1, -1);
    EXPECT_EQ(m_form.ScanForm().ScanGraph.Title().Text(),
              std::vector<std::string>{DcfSample.string() + ",   Slit 1"});
}

TEST_F(MainFormLoadsTest, TheNameTestsRejectFilesWithTheirErrorBox) {
    const struct {
        std::string File;
        bool Ga;
        const char* Message;
    } cases[] = {
        {"gauge/test1.txt", true, "The name of the file must start with GA!"},
        {"DCF/readme.txt", false, "The name of the file must start with DCF!"},
        {"GA_test.txt", false, "The name of the file must start with DCF!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        const std::filesystem::path path = GaCopy(c.File, 1000);
        MessageBoxCatcher catcher;
        c.Ga ? LoadGa(path) : LoadDcf(path);
        ASSERT_EQ(catcher.Seen().size(), 1u);
        EXPECT_EQ(catcher.Seen()[0].Caption, "Error");
        EXPECT_EQ(catcher.Seen()[0].Icon, QMessageBox::Critical);
        EXPECT_EQ(catcher.Seen()[0].Text, c.Message);
        EXPECT_EQ(m_form.State().Test->LastScan, -1);
    }
}

TEST_F(MainFormLoadsTest, TheNameTestIgnoresLetterCaseAndTheFolder) {
    for (const char* name : {"Ga12.txt", "x/gA1.dat"}) {
        SCOPED_TRACE(name);
        MessageBoxCatcher catcher;
        LoadGa(GaCopy(name, 1000));
        EXPECT_TRUE(catcher.Seen().empty());
        EXPECT_GE(m_form.State().Test->LastScan, 2);
    }
}

TEST_F(MainFormLoadsTest, CancellingLoadGaLeavesNoFileLoadedAndTheChartsAsTheyWere) {
    LoadGa(GaSample);
    const int points = m_form.SlopeForm().Series8.Count();
    LoadGa(std::nullopt);
    EXPECT_EQ(m_form.State().Test->LastScan, -1);
    EXPECT_EQ(m_form.SlopeForm().Series8.Count(), points);
    EXPECT_EQ(m_form.ScanForm().Series13.Count(), StepCount);
    // Without a loaded file the slit boxes redraw nothing, and Load DCF reads the table but leaves
    // the CI chart alone.
    m_form.SlitBox()[3]->setChecked(true);
    EXPECT_EQ(m_form.SlopeForm().Series10.Count(), 0);
    LoadDcf(DcfSample);
    EXPECT_NE(m_form.State().Test->DispersionTable[0][0], 0);
    EXPECT_EQ(m_form.CiForm().Series24.Count(), 0);
}

TEST_F(MainFormLoadsTest, LoadDcfWithTwoScansLoadedLeavesTheCiChartAlone) {
    LoadGa(GaCopy("GA_two.txt", 7 + 2 * 26));
    ASSERT_EQ(m_form.State().Test->LastScan, 1);
    LoadDcf(DcfSample);
    EXPECT_NE(m_form.State().Test->DispersionTable[0][0], 0);
    EXPECT_EQ(m_form.CiForm().Series24.Count(), 0);
    LoadGa(GaCopy("GA_three.txt", 7 + 3 * 26));
    EXPECT_GT(m_form.CiForm().Series24.Count(), 0);
}

TEST_F(MainFormLoadsTest, AFileThatCannotBeOpenedEndsTheFlowSilently) {
    MessageBoxCatcher catcher;
    LoadGa(m_dir.filePath("GA_missing.txt").toStdString());
    LoadDcf(m_dir.filePath("DCF_missing.txt").toStdString());
    EXPECT_TRUE(catcher.Seen().empty());
    EXPECT_EQ(m_form.State().Test->LastScan, -1);
}

TEST_F(MainFormLoadsTest, AHeaderWithoutScansLeavesTheNoFileStateWithEmptyCharts) {
    LoadDcf(DcfSample);
    LoadGa(GaSample);
    const std::filesystem::path header = GaCopy("GA_header.txt", 7);
    LoadGa(header);
    EXPECT_EQ(m_form.State().Test->LastScan, -1);
    EXPECT_EQ(m_form.ScanForm().Series13.Count(), 0);
    EXPECT_EQ(m_form.ScanForm().Series7.Count(), 0);
    EXPECT_EQ(m_form.ScanForm().ScanGraph.Title().Text(),
              std::vector<std::string>{header.string() + ",   no scan in the file"});
    EXPECT_EQ(m_form.SlopeForm().Series8.Count(), 0);
    EXPECT_EQ(m_form.SlopeForm().Series4.Count(), 0);
    EXPECT_EQ(m_form.CiForm().Series24.Count(), 0);
}

TEST_F(MainFormLoadsTest, ABrokenFileReachesTheErrorBoxAndTheWindowCarriesOn) {
    const std::filesystem::path broken = GaCopy("GA_broken.txt", 11);  // a block cut short
    std::string expected;
    try {
        m_form.OpenGaFile(broken);
    } catch (const std::exception& failure) {
        expected = failure.what();
    }
    ASSERT_FALSE(expected.empty());

    MessageBoxCatcher catcher;
    m_choices.push_back(broken);
    Click("LoadGA");
    ASSERT_EQ(catcher.Seen().size(), 1u);
    EXPECT_EQ(catcher.Seen()[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(catcher.Seen()[0].Text.toStdString(), expected);

    m_choices.push_back(GaSample);
    Click("LoadGA");
    EXPECT_GE(m_form.State().Test->LastScan, 2);
}

TEST_F(MainFormLoadsTest, ABadGsTextInManualModeFailsTheRefreshAndKeepsTheBoxes) {
    LoadGa(GaSample);
    const std::vector<std::string> title = m_form.SlopeForm().SlopeGraph.Title().Text();
    m_form.findChild<QCheckBox*>("ManualGSGI")->setChecked(true);
    m_form.findChild<QLineEdit*>("GS")->setText("abc");
    try {
        m_form.UpdateSlopeFit();
        FAIL() << "the refresh went through";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    EXPECT_EQ(BoxText("GS"), "abc");
    EXPECT_EQ(m_form.SlopeForm().SlopeGraph.Title().Text(), title);
    // The slope points are drawn before GS and GI are read; the line is not.
    EXPECT_EQ(m_form.SlopeForm().Series8.Count(), m_form.State().Test->LastScan + 1);
    EXPECT_EQ(m_form.SlopeForm().Series4.Count(), 0);

    MessageBoxCatcher catcher;
    m_choices.push_back(GaSample);
    Click("LoadGA");
    ASSERT_EQ(catcher.Seen().size(), 1u);
    EXPECT_EQ(catcher.Seen()[0].Text, "'abc' is not a valid floating point value");
}

TEST_F(MainFormLoadsTest, TheFitWindowIsReadFromTheRadioButtonsAtEachLoad) {
    m_form.findChild<QRadioButton*>("FivePointFit")->setChecked(true);
    LoadGa(GaSample);
    EXPECT_EQ(m_form.ScanForm().Series5.Count(), 40);
    m_form.findChild<QRadioButton*>("SevenPointFit")->setChecked(true);
    LoadGa(GaSample);
    EXPECT_EQ(m_form.ScanForm().Series5.Count(), 61);
}

TEST_F(MainFormLoadsTest, ShowScanRemembersWhatItShows) {
    LoadGa(GaSample);
    m_form.ShowScan(2, -1);
    EXPECT_EQ(m_form.State().Test->ShownScan, 2);
    EXPECT_EQ(m_form.State().Test->ShownSlit, 1);
    m_form.ShowScan(-1, 3);
    EXPECT_EQ(m_form.State().Test->ShownScan, 2);
    EXPECT_EQ(m_form.ScanForm().Series15.Count(), StepCount);
    EXPECT_EQ(m_form.ScanForm().Series13.Count(), 0);
}

}  // namespace
}  // namespace gatool
