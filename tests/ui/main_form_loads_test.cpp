// Tests of the main window's load flows and refreshes, with the files chosen by the test instead of
// the open-file dialog: what the charts, their titles and the GS and GI boxes show afterwards, and
// the error boxes of the name tests and of failures that escape a handler.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <deque>
#include <fstream>

#include "base/exceptions.h"
#include "message_box_catcher.h"
#include "numtext/float_to_pattern_text.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/data/ga_text.h"
#include "ui/main_form.h"

namespace gatool {
namespace {

constexpr TColor PointRed = RgbColor(0xFF0000);
constexpr TColor PointGreen = RgbColor(0x008000);
constexpr TColor PointBlue = RgbColor(0x0000FF);
constexpr TColor PointBlack = RgbColor(0x000000);
const std::filesystem::path GaSample = GATOOL_SAMPLES_DIR "/GA_sample.txt";
const std::filesystem::path DcfSample = GATOOL_SAMPLES_DIR "/DCF_sample.txt";

class MainFormLoadsTest : public ::testing::Test {
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
    std::filesystem::path WriteGa(const std::string& name, const std::string& text) {
        const std::filesystem::path path =
            m_dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // The status line under the charts, empty while it is hidden.
    QString Notes() {
        const auto* notes = m_form.findChild<QLabel*>("LoadNotes");
        return notes->isHidden() ? QString() : notes->text();
    }
    std::string SlopeTitle() {
        const std::vector<std::string> lines = m_form.SlopeForm().SlopeGraph.Title().Text();
        return lines.size() == 1 ? lines[0] : "(not one line)";
    }
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
        // On the screen's centre, wherever the window stands.
        EXPECT_LE((catcher.Seen()[0].Centre - catcher.Seen()[0].ScreenCentre).manhattanLength(), 2)
            << catcher.Seen()[0].Centre.x() << "," << catcher.Seen()[0].Centre.y() << " vs "
            << catcher.Seen()[0].ScreenCentre.x() << "," << catcher.Seen()[0].ScreenCentre.y();
        EXPECT_EQ(m_form.State().Test->LastScan, -1);
    }
}

// Loads that give no GS/GI fit of their own, after a file that gave one.
TEST_F(MainFormLoadsTest, ALoadWithoutAFitNeitherShowsNorCopiesTheFileBeforesGsAndGi) {
    const struct {
        const char* What;
        std::filesystem::path File;
        const char* Note;
    } cases[] = {
        {"one scan", GaCopy("GA_one.txt", 7 + 26), "1 scan read, no fit."},
        {"a header only", GaCopy("GA_header.txt", 7), "0 scans read, no fit. No scan is loaded"},
        {"cut short", GaCopy("GA_cut.txt", 7 + 26 + 5), "The load failed after 1 scan"},
        {"empty", WriteGa("GA_empty.txt", ""), "0 scans read, no fit."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        LoadGa(GaSample);
        ASSERT_NE(BoxText("GS"), "1");
        ASSERT_EQ(Notes(), "");
        try {
            LoadGa(c.File);
        } catch (const std::exception&) {
            // the failure's box is the application's; the window carries on
        }
        EXPECT_EQ(BoxText("GS"), "1");
        EXPECT_EQ(BoxText("GI"), "0");
        EXPECT_EQ(SlopeTitle(), "No fit:  GS = 1  GI = 0");
        EXPECT_TRUE(Notes().startsWith(c.Note)) << Notes().toStdString();
        m_form.CopyClipClick();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "1\r0");
    }
    // A fit of the next file: the title as ever, no note.
    LoadGa(GaSample);
    EXPECT_EQ(SlopeTitle(),
              "GS = " + BoxText("GS").toStdString() + "  GI = " + BoxText("GI").toStdString());
    EXPECT_EQ(Notes(), "");
}

TEST_F(MainFormLoadsTest, ALoadWithoutAFitKeepsWhatTheOperatorTypedOrSetsByHand) {
    LoadGa(GaSample);
    auto* gs = m_form.findChild<QLineEdit*>("GS");
    gs->clear();
    QTest::keyClicks(gs, "1.002");
    LoadGa(GaCopy("GA_one.txt", 7 + 26));
    EXPECT_EQ(BoxText("GS"), "1.002");
    EXPECT_EQ(SlopeTitle(), "No fit:  GS = 1.002  GI = " + BoxText("GI").toStdString());

    LoadGa(GaSample);
    const QString fitted = BoxText("GS");
    m_form.findChild<QCheckBox*>("ManualGSGI")->setChecked(true);
    LoadGa(GaCopy("GA_one.txt", 7 + 26));
    EXPECT_EQ(BoxText("GS"), fitted);
    EXPECT_EQ(SlopeTitle(),
              "GS = " + fitted.toStdString() + "  GI = " + BoxText("GI").toStdString());
    EXPECT_EQ(Notes(), "");
}

TEST_F(MainFormLoadsTest, SaysWhereTheReadingStoppedBeforeTheEndOfTheFile) {
    // The second block's dark count is not a number: the reading ends after the first block, on
    // line 33, with 19 blocks unread.
    std::ifstream in(GaSample, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t second = text.find("DARK", text.find("DARK") + 1);
    text.replace(second, text.find_first_of("\r\n", second) - second, "DARK nan");
    LoadGa(WriteGa("GA_nan.txt", text));
    ASSERT_EQ(m_form.State().Test->LastScan, 0);
    EXPECT_TRUE(Notes().startsWith("1 scan read")) << Notes().toStdString();
    EXPECT_TRUE(Notes().contains("\nThe file goes on after line 33 unread."))
        << Notes().toStdString();
}

TEST_F(MainFormLoadsTest, SaysThatOnlyTheFirstFiftyOfMoreScansWereLoaded) {
    LoadGa(WriteGa("GA_many.txt", testing::GaText(MaxScans + 1)));
    ASSERT_EQ(m_form.State().Test->LastScan, MaxScans - 1);
    EXPECT_TRUE(Notes().contains("The file holds more than 50 scans; the first 50 were loaded."))
        << Notes().toStdString();
    // The fit is this file's: its title is the usual one.
    EXPECT_EQ(SlopeTitle().rfind("GS = ", 0), 0u);
}

// The command line loads its files into the window before it first shows; the dialog loads into a
// window already drawn. The charts must come out the same.
TEST(MainFormLoadOrder, TheSameFilesGiveTheSameChartsLoadedBeforeOrAfterTheWindowShows) {
    const FileChooser none = [](const std::string&) { return std::nullopt; };
    TMainForm atStartUp(none);
    TMainForm afterwards(none);
    atStartUp.OpenGaFile(GaSample);
    atStartUp.OpenDcfFile(DcfSample);
    for (TMainForm* form : {&atStartUp, &afterwards}) {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        form->ScanForm().ScanGraph.repaint();
        form->SlopeForm().SlopeGraph.repaint();
    }
    afterwards.OpenGaFile(GaSample);
    afterwards.OpenDcfFile(DcfSample);
    for (TMainForm* form : {&atStartUp, &afterwards}) {
        form->ScanForm().ScanGraph.repaint();
        form->SlopeForm().SlopeGraph.repaint();
    }
    EXPECT_EQ(atStartUp.ScanForm().ScanGraph.Layout().Plot,
              afterwards.ScanForm().ScanGraph.Layout().Plot);
    EXPECT_EQ(atStartUp.SlopeForm().SlopeGraph.Layout().Plot,
              afterwards.SlopeForm().SlopeGraph.Layout().Plot);
    EXPECT_EQ(atStartUp.ScanForm().ScanGraph.grab().toImage(),
              afterwards.ScanForm().ScanGraph.grab().toImage());
}

// The real open-file dialog, answered by the test while it is open.
class OpenFileDialog : public ::testing::Test {
  protected:
    // Opens the dialog through the chooser; `answer` sees it open and closes it.
    std::optional<std::filesystem::path> Choose(const std::function<void(QFileDialog&)>& answer) {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                poll.stop();
                answer(*dialog);
            }
        });
        poll.start();
        return m_choose("GA*.*");
    }

    FileChooser m_choose = DialogFileChooser(nullptr);
    QTemporaryDir m_dir;
};

TEST_F(OpenFileDialog, ComesBackToTheFolderOfThePathTypedIntoIt) {
    const QString folder = m_dir.filePath("tests");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + "/GA12";
    std::ofstream(file.toStdString()) << "x";
    const std::optional<std::filesystem::path> chosen = Choose([&](QFileDialog& dialog) {
        dialog.selectFile(file);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(chosen, std::filesystem::path(file.toStdString()));
    QString reopenedIn;
    EXPECT_EQ(Choose([&](QFileDialog& dialog) {
                  reopenedIn = dialog.directory().absolutePath();
                  dialog.reject();
              }),
              std::nullopt);
    EXPECT_EQ(reopenedIn, QDir(folder).absolutePath());
}

TEST_F(OpenFileDialog, ItsPresetMatchesGaFilesWithAndWithoutAnExtension) {
    QStringList filters;
    Choose([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        dialog.reject();
    });
    ASSERT_FALSE(filters.isEmpty());
    // The patterns between the parentheses of the first filter, as the dialog applies them.
    const QRegularExpressionMatch patterns =
        QRegularExpression(R"(\(([^)]*)\))").match(filters.front());
    ASSERT_TRUE(patterns.hasMatch()) << filters.front().toStdString();
    const auto matches = [&](const QString& name) {
        for (const QString& pattern : patterns.captured(1).split(' ', Qt::SkipEmptyParts)) {
            const QRegularExpression wildcard(
                QRegularExpression::wildcardToRegularExpression(pattern),
                QRegularExpression::CaseInsensitiveOption);
            if (wildcard.match(name).hasMatch()) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(filters.front().startsWith("GA*.*"));
    for (const char* name : {"GA12", "GA_sample.txt", "ga1.dat", "GA"}) {
        EXPECT_TRUE(matches(name)) << name;
    }
    for (const char* name : {"DCF1.txt", "test.GA", "xGA1"}) {
        EXPECT_FALSE(matches(name)) << name;
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
