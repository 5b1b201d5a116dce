// \brief Pointer shapes; see series_pointer.h.
#include "chart/series_pointer.h"

#include <array>

namespace gatool {

void DrawPointerShape(ChartCanvas& canvas,
                      const TSeriesPointer& pointer,
                      ChartPoint at,
                      int horizSize,
                      int vertSize,
                      TColor pointColor) {
    const int x = at.X;
    const int y = at.Y;
    const int h = horizSize;
    const int v = vertSize;
    if (pointer.Style == psSmallDot) {
        canvas.Pixel(at, pointColor);
        return;
    }
    ShapeStyle style{pointer.Pen, std::nullopt};
    if (style.Outline.Color == clNotSet) {
        style.Outline.Color = pointColor;
    }
    if (pointer.Brush.Style == bsSolid) {
        style.Fill = pointer.Brush.Color == clNotSet ? pointColor : pointer.Brush.Color;
    }
    switch (pointer.Style) {
        case psRectangle:
            canvas.Rectangle({x - h, y - v, x + h + 1, y + v + 1}, style);
            break;
        case psCircle:
            canvas.Ellipse({x - h, y - v, x + h, y + v}, style);
            break;
        case psTriangle:
            canvas.Polygon(std::array<ChartPoint, 3>{{{x - h, y + v}, {x + h, y + v}, {x, y - v}}},
                           style);
            break;
        case psDownTriangle:
            canvas.Polygon(std::array<ChartPoint, 3>{{{x - h, y - v}, {x + h, y - v}, {x, y + v}}},
                           style);
            break;
        case psDiamond:
            canvas.Polygon(
                std::array<ChartPoint, 4>{{{x - h, y}, {x, y - v}, {x + h, y}, {x, y + v}}}, style);
            break;
        case psSmallDot:
            break;
    }
}

}  // namespace gatool
