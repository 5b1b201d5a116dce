// \brief Mark boxes; see series_marks.h.
#include "chart/series_marks.h"

#include <algorithm>
#include <string>
#include <vector>

#include "chart/text_lines.h"

namespace gatool {

namespace {

TColor ArrowColor(TColor arrowColor, TColor pointColor, TColor chartColor) {
    if (arrowColor == pointColor || arrowColor == chartColor) {
        return chartColor == clBlack ? clWhite : clBlack;
    }
    return arrowColor;
}

int FrameWidth(const TSeriesMarks& marks) {
    return marks.Frame.Visible ? marks.Frame.Width : 0;
}

}  // namespace

int MarkBoxHeight(ChartCanvas& canvas, const TSeriesMarks& marks, int lineCount) {
    return lineCount * canvas.TextHeight(marks.Font) + 2 * FrameWidth(marks);
}

std::optional<ChartRect> MarkBoxRect(ChartCanvas& canvas,
                                     const TSeriesMarks& marks,
                                     std::string_view text,
                                     ChartPoint at,
                                     int raise) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) {
        return std::nullopt;
    }
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, canvas.TextWidth(marks.Font, line));
    }
    const int width = widest + canvas.TextWidth(marks.Font, "W") + 2 * FrameWidth(marks);
    const int height = MarkBoxHeight(canvas, marks, static_cast<int>(lines.size()));
    const int left = at.X - width / 2;
    const int top = at.Y - height + 1 - raise;
    return ChartRect{left, top, left + width, top + height};
}

void DrawMarkBox(ChartCanvas& canvas,
                 const TSeriesMarks& marks,
                 std::string_view text,
                 ChartPoint at,
                 int raise,
                 TColor pointColor,
                 TColor chartColor,
                 ChartPoint offset) {
    std::optional<ChartRect> box = MarkBoxRect(canvas, marks, text, at, raise);
    if (!box) {
        return;
    }
    box->Left += offset.X;
    box->Right += offset.X;
    box->Top += offset.Y;
    box->Bottom += offset.Y;

    if (marks.Arrow.Visible && raise > 0) {
        TChartPen arrow = marks.Arrow;
        arrow.Color = ArrowColor(arrow.Color, pointColor, chartColor);
        canvas.Line(at, {at.X + offset.X, at.Y - raise + offset.Y}, arrow);
    }
    if (marks.Frame.Visible || !marks.Transparent) {
        ShapeStyle style{marks.Frame, std::nullopt};
        if (!marks.Transparent) {
            style.Fill = marks.BackColor;
        }
        canvas.Rectangle(*box, style);
    }
    int lineTop = box->Top + FrameWidth(marks);
    const int lineHeight = canvas.TextHeight(marks.Font);
    for (const std::string& line : SplitLines(text)) {
        canvas.Text({box->Left + (box->Width() - canvas.TextWidth(marks.Font, line)) / 2, lineTop},
                    line, marks.Font);
        lineTop += lineHeight;
    }
}

}  // namespace gatool
