// \brief Test helper: a chart whose plot fills its whole 200 by 200 client area (no margins, axes,
// title or legend) with both axes fixed from 0 to 200, so that the point (v, w) is drawn at the
// pixel (v, 200 - w). Mouse tests can then name positions in values and pixels alike.
#pragma once

#include "chart/chart_model.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {

class UnitChart {
  public:
    static constexpr int Size = 200;

    UnitChart() {
        Chart.SetMarginLeft(0);
        Chart.SetMarginTop(0);
        Chart.SetMarginRight(0);
        Chart.SetMarginBottom(0);
        Chart.SetAxisVisible(false);
        Chart.Legend().SetVisible(false);
        Chart.BottomAxis().SetAxisRange(0, Size);
        Chart.LeftAxis().SetAxisRange(0, Size);
    }

    void Draw() {
        Canvas.Clear();
        Chart.Draw(Canvas, Size, Size);
    }

    ChartModel Chart;
    FakeCanvas Canvas;
};

}  // namespace gatool
