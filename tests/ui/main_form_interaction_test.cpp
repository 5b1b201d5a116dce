// Tests of the operator's interaction with the main window, by simulated mouse events on the
// charts: picking a peak step, selecting a scan, dragging the GI/GS line, the slit check boxes and
// the clipboard button.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "message_box_catcher.h"
#include "tests/data/ga_text.h"
#include "ui/main_form.h"

namespace gatool {
namespace {

constexpr TColor PointRed = RgbColor(0xFF0000);
constexpr TColor PointGreen = RgbColor(0x008000);
constexpr TColor PointBlue = RgbColor(0x0000FF);
const std::filesystem::path GaSample = GATOOL_SAMPLES_DIR "/GA_sample.txt";

// Four scans whose midpoints are 100, 200, 300 and 400, every peak at the midpoint.
std::string GaMidpoints100To400() {
    std::string text = testing::HeaderText();
    for (const double first : {52, 152, 252, 352}) {
        text += testing::BlockText(100, first, 4);
    }
    return text;
}

class MainFormInteractionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }

    void Load(std::optional<std::filesystem::path> path) {
        m_choice = std::move(path);
        m_form.LoadGAClick();
    }
    std::filesystem::path WriteGa(const std::string& name, const std::string& text) {
        const std::filesystem::path path =
            m_dir.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // The chart drawn as it stands, so that the mouse meets the layout the operator sees.
    static QPoint At(TChart& chart, const TLineSeries& series, int index) {
        chart.repaint();
        return {series.XScreenPos(index), series.YScreenPos(index)};
    }
    static void Press(TChart& chart, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(&chart, button, Qt::NoModifier, at);
    }
    static void Release(TChart& chart, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(&chart, button, Qt::NoModifier, at);
    }
    static void Move(TChart& chart, QPoint to) { QTest::mouseMove(&chart, to); }

    QString BoxText(const char* name) { return m_form.findChild<QLineEdit*>(name)->text(); }
    void SetBoxText(const char* name, const QString& text) {
        m_form.findChild<QLineEdit*>(name)->setText(text);
    }
    void Check(const char* name, bool checked) {
        m_form.findChild<QCheckBox*>(name)->setChecked(checked);
    }
    const GaTest& Test() const { return *m_form.State().Test; }
    TChart& ScanGraph() { return m_form.ScanForm().ScanGraph; }
    TChart& SlopeGraph() { return m_form.SlopeForm().SlopeGraph; }

    // Fixes the left axis of SlopeGraph at one unit per pixel, so that the value at every pixel is
    // exact, and returns the pixel of `value`.
    int PixelOfExactValue(double value) {
        TChartAxis& axis = SlopeGraph().LeftAxis();
        int length = 0;
        while (axis.PixelLength() != length) {
            length = axis.PixelLength();
            axis.SetAxisRange(-length / 2, length - length / 2);
            SlopeGraph().repaint();
        }
        const int pixel = axis.ValueToPixel(value);
        EXPECT_EQ(m_form.SlopeForm().Series4.YValueAtPixel(pixel), value);
        return pixel;
    }

    std::optional<std::filesystem::path> m_choice;
    TMainForm m_form{[this](const std::string&) { return m_choice; }};
    QTemporaryDir m_dir;
};

TEST_F(MainFormInteractionTest, PickingTheThirteenthPointFitsTheSlitAroundStepThirteen) {
    Load(GaSample);
    ASSERT_NE(Test().Scans[0].PeakIndex[1], 13);  // the pick must move the peak
    const TLineSeries& counts = m_form.ScanForm().Series13;
    Press(ScanGraph(), At(ScanGraph(), counts, 12));

    EXPECT_EQ(Test().Scans[0].PeakIndex[1], 13);
    ASSERT_EQ(counts.Count(), StepCount);
    for (int i = 0; i < StepCount; ++i) {
        EXPECT_EQ(counts.PointColor(i), i == 12 ? PointRed : PointGreen) << i;
    }
    // The slope chart shows the picked peak of scan 0.
    EXPECT_EQ(m_form.SlopeForm().Series8.YValue(0), Test().Scans[0].PeakOffset[1]);
}

TEST_F(MainFormInteractionTest, AClickOnTheFittedCurveOrTheMarkersDoesNothing) {
    Load(GaSample);
    const int peak = Test().Scans[0].PeakIndex[1];
    const std::vector<std::string> title = SlopeGraph().Title().Text();
    SetBoxText("GS", "2");  // a refresh would read or rewrite it
    ScanGraphForm& scan = m_form.ScanForm();
    for (const TLineSeries* series :
         {&scan.Series5, &scan.Series6, &scan.Series7, &scan.Series26}) {
        // A point of the series away from the counts, which are tested first.
        int index = 0;
        QPoint at = At(ScanGraph(), *series, index);
        while (scan.Series13.PointIndexAt(at.x(), at.y()) != -1) {
            ASSERT_LT(++index, series->Count());
            at = At(ScanGraph(), *series, index);
        }
        Press(ScanGraph(), at, Qt::RightButton);
    }
    EXPECT_EQ(Test().Scans[0].PeakIndex[1], peak);
    EXPECT_EQ(BoxText("GS"), "2");
    EXPECT_EQ(SlopeGraph().Title().Text(), title);
}

TEST_F(MainFormInteractionTest, AMarkerClickShowsThatScanAndSlitAndMarksTheScanInEverySlit) {
    Check("SlitBox2", true);
    Load(GaSample);
    SlopeGraphForm& slope = m_form.SlopeForm();
    const TLineSeries& marks = *slope.SlopeMarkSeries[2];
    QPoint at = At(SlopeGraph(), marks, 4);
    // Off the GI/GS line, which runs close to the markers, but inside the marker's circle.
    const QPoint a = At(SlopeGraph(), slope.Series4, 0);
    const QPoint b = At(SlopeGraph(), slope.Series4, 1);
    const double lineY = a.y() + double(b.y() - a.y()) * (at.x() - a.x()) / (b.x() - a.x());
    at.ry() += at.y() > lineY ? 3 : -3;
    ASSERT_EQ(slope.Series4.PointIndexAt(at.x(), at.y()), -1);
    ASSERT_EQ(marks.PointIndexAt(at.x(), at.y()), 4);

    Press(SlopeGraph(), at, Qt::RightButton);
    EXPECT_EQ(Test().SelectedScan, 4);
    EXPECT_EQ(Test().ShownScan, 4);
    EXPECT_EQ(Test().ShownSlit, 2);
    EXPECT_EQ(m_form.ScanForm().Series14.Count(), StepCount);
    EXPECT_EQ(m_form.ScanForm().Series13.Count(), 0);
    for (const TLineSeries* series : {slope.SlopeMarkSeries[1], slope.SlopeMarkSeries[2]}) {
        for (int i = 0; i < series->Count(); ++i) {
            EXPECT_EQ(series->PointColor(i), i == 4 ? PointRed : PointBlue) << i;
        }
    }
    // Slit 2 is now the highest checked slit: GS and GI are fitted to its peaks.
    EXPECT_EQ(BoxText("GS").toStdString(), GsBoxText(m_form.State().SlopeFit->GS));
    EXPECT_FALSE(m_form.Dragging());
}

TEST_F(MainFormInteractionTest, DraggingEitherEndSetsGsAndGiByTheLineThroughBothEnds) {
    const struct {
        int End;
        const char* Gs;
        const char* Gi;
        double FirstHeight;
        double LastHeight;
    } cases[] = {
        // The second end from height 0 to 1: GS = (1 - 0 + 300) / 300, GI = -(GS - 1) x 100.
        {1, "1.00333", "-0.33", 0, 1},
        // The first end: GS = (0 - 1 + 300) / 300, GI = 1 - (GS - 1) x 100.
        {0, "0.99667", "1.33", 1, 0},
    };
    Check("ManualGSGI", true);  // GS 1 and GI 0 from the boxes: the line lies at height 0
    const std::filesystem::path file = WriteGa("GA_midpoints.txt", GaMidpoints100To400());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.End);
        SetBoxText("GS", "1");
        SetBoxText("GI", "0");
        Load(file);
        TLineSeries& line = m_form.SlopeForm().Series4;
        ASSERT_EQ(line.XValue(0), 100);
        ASSERT_EQ(line.XValue(1), 400);
        const int heightOne = PixelOfExactValue(1);
        const QPoint end = At(SlopeGraph(), line, c.End);

        Press(SlopeGraph(), end);
        EXPECT_TRUE(m_form.Dragging());
        Move(SlopeGraph(), {end.x() + 7, heightOne});  // only the height counts
        EXPECT_EQ(BoxText("GS"), c.Gs);
        EXPECT_EQ(BoxText("GI"), c.Gi);
        EXPECT_EQ(SlopeGraph().Title().Text(),
                  std::vector<std::string>{std::string("GS = ") + c.Gs + "  GI = " + c.Gi});
        ASSERT_EQ(line.Count(), 2);
        EXPECT_NEAR(line.YValue(0), c.FirstHeight, 1e-9);
        EXPECT_NEAR(line.YValue(1), c.LastHeight, 1e-9);
        EXPECT_NEAR(Test().CurrentGS, (c.LastHeight - c.FirstHeight + 300) / 300, 1e-7);

        Release(SlopeGraph(), {end.x() + 7, heightOne});
        EXPECT_FALSE(m_form.Dragging());
        EXPECT_EQ(BoxText("GS"), c.Gs);
        EXPECT_EQ(BoxText("GI"), c.Gi);
    }
}

TEST_F(MainFormInteractionTest, TheGsGiMarkerFollowsTheDrag) {
    Check("ManualGSGI", true);
    Load(WriteGa("GA_midpoints.txt", GaMidpoints100To400()));
    const TLineSeries& marker = m_form.ScanForm().Series6;
    ASSERT_EQ(marker.XValue(0), 100);  // GS 1 and GI 0 put the peak at the midpoint of scan 0
    const int heightOne = PixelOfExactValue(1);
    const QPoint first = At(SlopeGraph(), m_form.SlopeForm().Series4, 0);
    Press(SlopeGraph(), first);
    Move(SlopeGraph(), {first.x(), heightOne});
    // The line now runs 1 above the midpoint at scan 0; the marker reads GS and GI back from the
    // boxes, rounded to 5 and 2 decimals.
    EXPECT_EQ(BoxText("GS"), "0.99667");
    EXPECT_EQ(BoxText("GI"), "1.33");
    EXPECT_FLOAT_EQ(static_cast<float>(marker.XValue(0)), static_cast<float>(0.99667 * 100 + 1.33));
}

TEST_F(MainFormInteractionTest, TheMouseShowsTheHandOverTheGiGsLineOnly) {
    Load(GaSample);
    const QPoint end = At(SlopeGraph(), m_form.SlopeForm().Series4, 1);
    Move(SlopeGraph(), end);
    EXPECT_EQ(SlopeGraph().cursor().shape(), Qt::PointingHandCursor);
    Move(SlopeGraph(), {5, 5});
    EXPECT_EQ(SlopeGraph().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainFormInteractionTest, TheDraggedEndStaysUnderTheMouse) {
    Load(GaSample);
    TChartAxis& axis = SlopeGraph().LeftAxis();
    ASSERT_TRUE(axis.Automatic());
    const TLineSeries& line = m_form.SlopeForm().Series4;
    const QPoint end = At(SlopeGraph(), line, 1);
    Press(SlopeGraph(), end);
    for (int up = 1; up <= 30; ++up) {
        Move(SlopeGraph(), end - QPoint(0, up));
        EXPECT_EQ(At(SlopeGraph(), line, 1).y(), end.y() - up);
    }
    Release(SlopeGraph(), end - QPoint(0, 30));
    EXPECT_TRUE(axis.Automatic());  // the axis finds its range anew
}

TEST_F(MainFormInteractionTest, TheLineCanBeGrabbedWhereItCrossesAPlotZoomedPastBothItsEnds) {
    Check("ManualGSGI", true);
    SetBoxText("GI", "5");  // the line at height 5, away from the peaks at height 0
    Load(WriteGa("GA_midpoints.txt", GaMidpoints100To400()));
    TLineSeries& line = m_form.SlopeForm().Series4;
    ASSERT_EQ(line.XValue(0), 100);
    ASSERT_EQ(line.XValue(1), 400);
    SlopeGraph().BottomAxis().SetAxisRange(150, 350);
    SlopeGraph().repaint();
    const QPoint middle(SlopeGraph().BottomAxis().ValueToPixel(250),
                        SlopeGraph().LeftAxis().ValueToPixel(5));
    ASSERT_TRUE(SlopeGraph().Layout().Plot.Contains({middle.x(), middle.y()}));
    Move(SlopeGraph(), middle);
    EXPECT_EQ(SlopeGraph().cursor().shape(), Qt::PointingHandCursor);
    Press(SlopeGraph(), middle);
    EXPECT_TRUE(m_form.Dragging());
    Release(SlopeGraph(), middle);
}

TEST_F(MainFormInteractionTest, ADragWithOneScanIsRefused) {
    Check("ManualGSGI", true);
    Load(WriteGa("GA_one.txt", testing::GaText(1)));
    const QPoint end = At(SlopeGraph(), m_form.SlopeForm().Series4, 1);
    Press(SlopeGraph(), end);
    EXPECT_FALSE(m_form.Dragging());
    Move(SlopeGraph(), end + QPoint(0, 20));
    EXPECT_EQ(BoxText("GS"), "1");
    EXPECT_EQ(BoxText("GI"), "0");
}

TEST_F(MainFormInteractionTest, AReleaseWithoutADragRewritesTheBoxesFromTheCurrentGsAndGi) {
    Load(GaSample);
    SetBoxText("GS", "2");
    SetBoxText("GI", "x");
    const QPoint empty(5, 5);
    Press(SlopeGraph(), empty);
    Release(SlopeGraph(), empty);
    EXPECT_EQ(BoxText("GS").toStdString(), GsBoxText(Test().CurrentGS));
    EXPECT_EQ(BoxText("GI").toStdString(), GiBoxText(Test().CurrentGI));
    EXPECT_EQ(SlopeGraph().Title().Text(),
              std::vector<std::string>{"GS = " + BoxText("GS").toStdString() +
                                       "  GI = " + BoxText("GI").toStdString()});
}

TEST_F(MainFormInteractionTest, TheSlitBoxesRedrawTheSlopeChartOnlyWithAFileLoaded) {
    SlopeGraphForm& slope = m_form.SlopeForm();
    Check("SlitBox3", true);  // no file: nothing happens
    EXPECT_EQ(slope.Series10.Count(), 0);
    EXPECT_TRUE(SlopeGraph().Title().Text().empty() || SlopeGraph().Title().Text()[0].empty());

    Load(GaSample);
    const int scans = Test().LastScan + 1;
    EXPECT_EQ(slope.Series8.Count(), scans);
    EXPECT_EQ(slope.Series10.Count(), scans);
    Check("SlitBox4", true);
    EXPECT_EQ(slope.Series11.Count(), scans);
    for (const char* box : {"SlitBox1", "SlitBox3", "SlitBox4"}) {
        Check(box, false);
    }
    for (const TLineSeries* series : slope.SlopeLineSeries) {
        EXPECT_EQ(series->Count(), 0);
    }
    for (const TLineSeries* series : slope.SlopeMarkSeries) {
        EXPECT_EQ(series->Count(), 0);
    }
}

TEST_F(MainFormInteractionTest, ChartClicksAfterACancelledLoadDoNothing) {
    Load(GaSample);
    const TLineSeries& counts = m_form.ScanForm().Series13;
    const QPoint at = At(ScanGraph(), counts, 12);
    const int peak = Test().Scans[0].PeakIndex[1];
    Load(std::nullopt);
    Press(ScanGraph(), at);
    EXPECT_EQ(Test().Scans[0].PeakIndex[1], peak);
    Press(SlopeGraph(), At(SlopeGraph(), m_form.SlopeForm().Series4, 1));
    EXPECT_FALSE(m_form.Dragging());
}

TEST_F(MainFormInteractionTest, CopiesTheBoxTextsJoinedByACarriageReturn) {
    QPushButton* copy = m_form.findChild<QPushButton*>("CopyClip");
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("1\r0"));
    SetBoxText("GS", "1.00333");
    SetBoxText("GI", "-0.33");
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("1.00333\r-0.33"));
}

TEST_F(MainFormInteractionTest, AFailureInAClickReachesTheErrorBoxAndEndsTheHandler) {
    Check("ManualGSGI", true);
    Load(GaSample);
    SetBoxText("GI", "abc");
    MessageBoxCatcher catcher;
    Press(ScanGraph(), At(ScanGraph(), m_form.ScanForm().Series13, 12));
    ASSERT_EQ(catcher.Seen().size(), 1u);
    EXPECT_EQ(catcher.Seen()[0].Text, "'abc' is not a valid floating point value");
    // The pick stands; the refresh that failed left the slope points filled.
    EXPECT_EQ(Test().Scans[0].PeakIndex[1], 13);
    EXPECT_EQ(m_form.SlopeForm().Series8.Count(), Test().LastScan + 1);
    EXPECT_EQ(m_form.SlopeForm().Series4.Count(), 0);
}

}  // namespace
}  // namespace gatool
