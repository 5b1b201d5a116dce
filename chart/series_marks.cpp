// \brief Mark boxes; see series_marks.h.
#include "chart/series_marks.h"

#include <algorithm>

#include "chart/text_lines.h"

namespace gatool {

namespace {

TColor ArrowColor(TColor arrowColor, TColor pointColor, TColor chartColor) {
    if (arrowColor == pointColor || arrowColor == chartColor) {
        return chartColor == clBlack ? clWhite : clBlack;
    }
    return arrowColor;
}

}  // namespace

void DrawMarkBox(ChartCanvas& canvas,
                 const TSeriesMarks& marks,
                 std::string_view text,
                 ChartPoint at,
                 int raise,
                 TColor pointColor,
                 TColor chartColor) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) {
        return;
    }
    const int lineHeight = canvas.TextHeight(marks.Font);
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, canvas.TextWidth(marks.Font, line));
    }
    const int frameWidth = marks.Frame.Visible ? marks.Frame.Width : 0;
    const int width = widest + canvas.TextWidth(marks.Font, "W") + 2 * frameWidth;
    const int height = static_cast<int>(lines.size()) * lineHeight + 2 * frameWidth;
    const int left = at.X - width / 2;
    const int top = at.Y - height + 1 - raise;

    if (marks.Arrow.Visible && raise > 0) {
        TChartPen arrow = marks.Arrow;
        arrow.Color = ArrowColor(arrow.Color, pointColor, chartColor);
        canvas.Line(at, {at.X, at.Y - raise}, arrow);
    }
    if (marks.Frame.Visible || !marks.Transparent) {
        ShapeStyle style{marks.Frame, std::nullopt};
        if (!marks.Transparent) {
            style.Fill = marks.BackColor;
        }
        canvas.Rectangle({left, top, left + width, top + height}, style);
    }
    int lineTop = top + frameWidth;
    for (const std::string& line : lines) {
        canvas.Text({left + (width - canvas.TextWidth(marks.Font, line)) / 2, lineTop}, line,
                    marks.Font);
        lineTop += lineHeight;
    }
}

}  // namespace gatool
