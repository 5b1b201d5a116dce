// Tests of filling the window's charts that the load flows do not reach with the samples: the CI
// chart's left axis for chosen largest losses.
#include "ui/window_chart_fill.h"

#include <gtest/gtest.h>

#include "ui/off_screen_chart.h"

namespace gatool {
namespace {

TEST(FixCiRange, RunsFromZeroToTheLargestLossRoundedUpToAHalf) {
    const struct {
        double Largest;
        double Maximum;
    } cases[] = {{2.3, 2.5}, {3.0, 3.0}, {2.5, 2.5}, {0.01, 0.5}, {-0.2, 1e-10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Largest);
        CiGraphForm form;
        CiCurves curves;
        curves.Slit1 = {{3100, c.Largest - 1}, {3200, c.Largest}};
        curves.Slit5 = {{3500, c.Largest - 0.5}};
        ClearCiCurves(form);
        form.CIGraph.LeftAxis().SetAutomatic(true);
        AddCiCurves(form, curves);
        PaintChart(form.CIGraph);
        FixCiRange(form);
        EXPECT_EQ(form.CIGraph.LeftAxis().Minimum(), 0);
        EXPECT_EQ(form.CIGraph.LeftAxis().Maximum(), c.Maximum);
    }
}

}  // namespace
}  // namespace gatool
