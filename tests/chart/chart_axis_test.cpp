// Tests of the axis range properties and of the mapping between values and pixels.
#include "chart/chart_axis.h"

#include <gtest/gtest.h>

#include "chart/chart_exceptions.h"
#include "chart/chart_model.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class AxisRangeProperties : public testing::Test {
  protected:
    AxisRangeProperties() {
        m_chart.SetInvalidationHandler([this] { ++m_invalidations; });
    }

    ChartModel m_chart;
    TChartAxis& m_axis = m_chart.LeftAxis();
    int m_invalidations = 0;
};

TEST_F(AxisRangeProperties, StartAutomaticWithZeroEnds) {
    EXPECT_TRUE(m_axis.Automatic());
    EXPECT_TRUE(m_axis.AutomaticMinimum());
    EXPECT_TRUE(m_axis.AutomaticMaximum());
    EXPECT_EQ(m_axis.Minimum(), 0);
    EXPECT_EQ(m_axis.Maximum(), 0);  // read before any drawing: the stored value
}

TEST_F(AxisRangeProperties, SetAxisRangeFixesSwapsAndWidens) {
    struct Case {
        double Minimum;
        double Maximum;
        double ExpectedMinimum;
        double ExpectedMaximum;
    };
    const Case cases[] = {
        {0, 2.5, 0, 2.5},
        {5, 2, 2, 5},
        {3, 3, 3, 3 + 1e-10},
        {1, 1 + 1e-11, 1, 1 + 1e-10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Minimum << ", " << c.Maximum);
        m_axis.SetAutomatic(true);
        m_axis.SetAxisRange(c.Minimum, c.Maximum);
        EXPECT_EQ(m_axis.Minimum(), c.ExpectedMinimum);
        EXPECT_EQ(m_axis.Maximum(), c.ExpectedMaximum);
        EXPECT_FALSE(m_axis.Automatic());
        EXPECT_FALSE(m_axis.AutomaticMinimum());
        EXPECT_FALSE(m_axis.AutomaticMaximum());
    }
}

TEST_F(AxisRangeProperties, SetAxisRangeInvalidatesOnlyWhenAnEndChanges) {
    FakeCanvas canvas;
    m_chart.Draw(canvas, 400, 250);
    m_axis.SetAxisRange(0, 2.5);
    EXPECT_EQ(m_invalidations, 1);
    m_chart.Draw(canvas, 400, 250);
    m_axis.SetAxisRange(0, 2.5);
    EXPECT_EQ(m_invalidations, 1);
    EXPECT_FALSE(m_chart.NeedsDrawing());
}

TEST_F(AxisRangeProperties, WritingAnEndOnTheWrongSideRaisesAndChangesNothing) {
    m_axis.SetAxisRange(2, 5);
    try {
        m_axis.SetMinimum(6);
        FAIL() << "no exception";
    } catch (const AxisException& error) {
        EXPECT_STREQ(error.what(), "Axis Minimum Value must be <= Maximum");
    }
    try {
        m_axis.SetMaximum(1);
        FAIL() << "no exception";
    } catch (const AxisException& error) {
        EXPECT_STREQ(error.what(), "Axis Maximum Value must be >= Minimum");
    }
    EXPECT_EQ(m_axis.Minimum(), 2);
    EXPECT_EQ(m_axis.Maximum(), 5);
    m_axis.SetMinimum(5);
    m_axis.SetMaximum(5);
    EXPECT_EQ(m_axis.Minimum(), 5);
}

TEST_F(AxisRangeProperties, AutomaticSwitchesBothEndsAndEachEndSwitchesAutomatic) {
    m_axis.SetAxisRange(0, 1);
    m_axis.SetAutomatic(true);
    EXPECT_TRUE(m_axis.AutomaticMinimum());
    EXPECT_TRUE(m_axis.AutomaticMaximum());

    m_axis.SetAutomaticMinimum(false);
    EXPECT_FALSE(m_axis.Automatic());
    EXPECT_TRUE(m_axis.AutomaticMaximum());
    m_axis.SetAutomaticMaximum(false);
    m_axis.SetAutomaticMinimum(true);  // the other end is fixed: Automatic stays off
    EXPECT_FALSE(m_axis.Automatic());
    m_axis.SetAutomaticMaximum(true);
    EXPECT_TRUE(m_axis.Automatic());
}

// An axis with a fixed range mapped onto the pixels of `plot`.
void Place(TChartAxis& axis, double minimum, double maximum, const ChartRect& plot) {
    axis.SetAxisRange(minimum, maximum);
    axis.CalcAutomaticRange();
    axis.SetPixelPositions(plot);
}

TEST(AxisMapping, MapsPixelsToValuesAndBackRoundingHalfToEven) {
    ChartModel chart;
    const ChartRect plot{50, 20, 450, 220};
    Place(chart.BottomAxis(), 0, 100, plot);
    Place(chart.LeftAxis(), 0, 100, plot);
    const TChartAxis& horizontal = chart.BottomAxis();
    const TChartAxis& vertical = chart.LeftAxis();

    EXPECT_EQ(horizontal.PixelToValue(250), 50);
    EXPECT_EQ(horizontal.PixelToValue(50), 0);
    EXPECT_EQ(horizontal.PixelToValue(450), 100);
    EXPECT_EQ(vertical.PixelToValue(20), 100);  // the top of a vertical axis is its maximum
    EXPECT_EQ(vertical.PixelToValue(220), 0);
    EXPECT_EQ(vertical.PixelToValue(170), 25);

    struct Case {
        double Value;
        int Horizontal;
        int Vertical;
    };
    // Four pixels per unit across, two down.
    const Case cases[] = {
        {50, 250, 120},   {25, 150, 170},   {0, 50, 220},
        {100, 450, 20},   {0.125, 50, 220},  // offsets 0.5 and 0.25 round to 0
        {0.25, 51, 220},                     // 1 and 0.5
        {0.375, 52, 219},                    // 1.5 rounds to 2, 0.75 to 1
        {0.625, 52, 219},                    // 2.5 rounds to 2
        {0.75, 53, 218},                     // 1.5 rounds to 2
        {1.25, 55, 218},                     // 2.5 rounds to 2
        {-10, 10, 240},                      // outside the range, still mapped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_EQ(horizontal.ValueToPixel(c.Value), c.Horizontal);
        EXPECT_EQ(vertical.ValueToPixel(c.Value), c.Vertical);
    }
}

TEST(AxisMapping, GivesTheCentreForAZeroRangeAndForFarOffsets) {
    ChartModel chart;
    TChartAxis& axis = chart.BottomAxis();
    axis.CalcAutomaticRange();  // no series: the range 0 to 0
    axis.SetPixelPositions({51, 0, 450, 100});
    EXPECT_EQ(axis.RangeSpan(), 0);
    EXPECT_EQ(axis.PixelCentre(), 250);
    EXPECT_EQ(axis.ValueToPixel(0), 250);
    EXPECT_EQ(axis.ValueToPixel(1e6), 250);

    Place(axis, 0, 1, {50, 0, 450, 100});
    EXPECT_EQ(axis.ValueToPixel(5e6), 50 + 2000000000);  // 2e9 pixels away is still mapped
    EXPECT_EQ(axis.ValueToPixel(-5e6), 50 - 2000000000);
    EXPECT_EQ(axis.ValueToPixel(6e6), 250);  // 2.4e9 pixels away is not
}

TEST(AxisMapping, PixelToValueOfAnAxisWithoutLengthIsZero) {
    ChartModel chart;
    Place(chart.BottomAxis(), 10, 20, {40, 0, 40, 100});
    EXPECT_EQ(chart.BottomAxis().PixelToValue(40), 0);
    EXPECT_EQ(chart.BottomAxis().PixelToValue(100), 0);
}

}  // namespace
}  // namespace gatool
