// Tests of the main window's three charts as the gallery fills them from the bundled samples: what
// each chart holds after "Load DCF" and "Load GA file", and chosen pixels of their drawings.
#include "tools/chart_gallery/window_charts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "chart/chart_image.h"
#include "numtext/float_to_pattern_text.h"

namespace gatool {
namespace {

constexpr TColor PointRed = RgbColor(0xFF0000);
constexpr TColor PointGreen = RgbColor(0x008000);
constexpr TColor PointBlue = RgbColor(0x0000FF);

class WindowChartsTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_charts = std::make_unique<WindowCharts>();
        s_state = std::make_unique<ToolState>();
        LoadWindowCharts(*s_charts, *s_state, GaFile, GATOOL_SAMPLES_DIR "/DCF_sample.txt");
    }
    static void TearDownTestSuite() {
        s_charts.reset();
        s_state.reset();
    }

    static constexpr const char* GaFile = GATOOL_SAMPLES_DIR "/GA_sample.txt";
    static std::unique_ptr<WindowCharts> s_charts;
    static std::unique_ptr<ToolState> s_state;
};

std::unique_ptr<WindowCharts> WindowChartsTest::s_charts;
std::unique_ptr<ToolState> WindowChartsTest::s_state;

TEST_F(WindowChartsTest, ScanGraphShowsSlitOneOfScanZeroWithItsPeak) {
    const ScanGraphForm& form = s_charts->Scan;
    const ScanRecord& record = s_state->Test->Scans[0];
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        EXPECT_EQ(form.ScanSlitSeries[slit]->Count(), slit == 1 ? StepCount : 0);
    }
    const TLineSeries& counts = form.Series13;
    const int peakIndex = record.PeakIndex[1] - 1;  // steps count from 1, points from 0
    for (int i = 0; i < counts.Count(); ++i) {
        EXPECT_EQ(counts.PointColor(i), i == peakIndex ? PointRed : PointGreen);
    }
    EXPECT_EQ(form.Series5.Count(), 61);  // the seven-point fit's curve
    EXPECT_EQ(form.Series26.Count(), 1);
    ASSERT_EQ(form.Series7.Count(), 3);
    // At one x value the points keep the order in which they came: top, middle, bottom.
    EXPECT_EQ(form.Series7.PointLabel(0), "Fit");
    EXPECT_EQ(form.Series7.PointLabel(2), FloatToPatternText("####", record.PeakPos[1]));
    ASSERT_EQ(form.Series6.Count(), 3);
    EXPECT_EQ(form.Series6.PointLabel(0), "GS/GI");
    EXPECT_EQ(form.ScanGraph.Title().Text(),
              (std::vector<std::string>{std::string(GaFile) + ",   Slit 1"}));
}

TEST_F(WindowChartsTest, SlopeGraphShowsTheCheckedSlitTheSelectedScanAndTheFit) {
    const SlopeGraphForm& form = s_charts->Slope;
    const int scans = s_state->Test->LastScan + 1;
    for (std::size_t slit = 0; slit < SlitCount; ++slit) {
        EXPECT_EQ(form.SlopeLineSeries[slit]->Count(), slit == 1 ? scans : 0);
        EXPECT_EQ(form.SlopeMarkSeries[slit]->Count(), slit == 1 ? scans : 0);
    }
    const TLineSeries& marks = form.Series19;
    EXPECT_EQ(marks.PointColor(0), PointRed);  // scan 0 is selected after loading
    for (int i = 1; i < marks.Count(); ++i) {
        EXPECT_EQ(marks.PointColor(i), PointBlue);
    }
    EXPECT_EQ(form.Series8.PointLabel(0), "1000");
    ASSERT_EQ(form.Series4.Count(), 2);
    EXPECT_EQ(form.Series4.PointLabel(0), " ");
    EXPECT_EQ(form.SlopeGraph.Title().Text(),
              (std::vector<std::string>{"GS = " + s_state->Controls.GsText +
                                        "  GI = " + s_state->Controls.GiText}));
}

TEST_F(WindowChartsTest, CiGraphFixesItsLeftAxisAtTheNextHalfAboveTheLargestLoss) {
    const CiGraphForm& form = s_charts->Ci;
    EXPECT_EQ(form.Series24.Count(), static_cast<int>(s_state->Ci.Slit1.size()));
    EXPECT_EQ(form.Series25.Count(), static_cast<int>(s_state->Ci.Slit5.size()));
    double largest = 0;
    for (const CiPoint& point : s_state->Ci.Slit1) {
        largest = std::max(largest, point.Loss);
    }
    for (const CiPoint& point : s_state->Ci.Slit5) {
        largest = std::max(largest, point.Loss);
    }
    const TChartAxis& axis = form.CIGraph.LeftAxis();
    EXPECT_FALSE(axis.Automatic());
    EXPECT_EQ(axis.Minimum(), 0);
    EXPECT_EQ(axis.Maximum(), std::ceil(2 * largest) / 2);
}

TEST_F(WindowChartsTest, SlopeGraphDrawsVioletDiamondsAndAOnePixelLegendShadow) {
    TChart& chart = s_charts->Slope.SlopeGraph;
    const QImage image = PaintChart(chart);
    const TLineSeries& line = s_charts->Slope.Series4;
    const int x = line.XScreenPos(0);
    const int y = line.YScreenPos(0);
    EXPECT_EQ(image.pixel(x + 2, y), qRgb(0x80, 0x00, 0xFF));
    const ChartRect legend = chart.Layout().Legend.Rect;
    const int middle = (legend.Top + legend.Bottom) / 2;
    EXPECT_EQ(image.pixel(legend.Right, middle), qRgb(0x80, 0x80, 0x80));  // grey frame
    EXPECT_EQ(image.pixel(legend.Right + 1, middle), qRgb(0, 0, 0));       // shadow
    EXPECT_EQ(image.pixel(legend.Right + 2, middle), qRgb(0xFF, 0xFF, 0xFF));
    // The title is centred over the width that the legend leaves.
    const ChartRect title = chart.Layout().Title;
    EXPECT_LT(title.Right, legend.Left);
}

TEST_F(WindowChartsTest, CiGraphLabelsItsLeftAxisWithTwoDecimals) {
    TChart& chart = s_charts->Ci.CIGraph;
    PaintChart(chart);
    const std::vector<AxisLabel>& labels = chart.LeftAxis().DrawnLabels();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back().Text, "0.00");
    EXPECT_EQ(labels.front().Text, FloatToPatternText("#,##0.00", chart.LeftAxis().Maximum()));
}

}  // namespace
}  // namespace gatool
