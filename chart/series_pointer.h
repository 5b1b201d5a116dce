// \brief TSeriesPointer: the marker drawn at the points of a line series, and the drawing of its
// shapes.
#pragma once

#include "chart/chart_canvas.h"

namespace gatool {

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psDiamond,
    psSmallDot
};

struct TSeriesPointer {
    TSeriesPointerStyle Style = psRectangle;
    int HorizSize = 4;  // half-width in pixels
    int VertSize = 4;   // half-height in pixels
    bool Visible = true;
    bool InflateMargins = true;            // automatic axis ranges make room for the pointers
    TChartBrush Brush{clNotSet, bsSolid};  // clNotSet: the point's colour
    TChartPen Pen;                         // clNotSet: the point's colour
    bool operator==(const TSeriesPointer&) const = default;
};

// Draws the pointer's shape centred at `at` with half-sizes `horizSize` and `vertSize`, in the
// pointer's pen and brush; their unset colours take `pointColor`.
void DrawPointerShape(ChartCanvas& canvas,
                      const TSeriesPointer& pointer,
                      ChartPoint at,
                      int horizSize,
                      int vertSize,
                      TColor pointColor);

}  // namespace gatool
