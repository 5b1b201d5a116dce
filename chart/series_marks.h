// \brief TSeriesMarks: the label boxes drawn above the points of a series, and the drawing of one
// box with its arrow.
#pragma once

#include <optional>
#include <string_view>

#include "chart/chart_canvas.h"

namespace gatool {

struct TSeriesMarks {
    bool Visible = false;
    TColor BackColor = 0x80FFFF;
    int ArrowLength = 8;  // pixels between the point and the box, for line series
    bool Transparent = false;
    TChartPen Frame;
    TChartPen Arrow{clWhite};
    TChartFont Font;
    bool Clip = false;  // clipped to the plot rectangle
    bool operator==(const TSeriesMarks&) const = default;
};

// The height of a mark box of `lineCount` lines of text, its frame included.
int MarkBoxHeight(ChartCanvas& canvas, const TSeriesMarks& marks, int lineCount);

// The mark box holding `text` (one or more lines) for the point at `at`, centred over the point and
// raised by `raise` pixels; none for a text without lines.
std::optional<ChartRect> MarkBoxRect(ChartCanvas& canvas,
                                     const TSeriesMarks& marks,
                                     std::string_view text,
                                     ChartPoint at,
                                     int raise);

// Draws the mark box of MarkBoxRect, moved by `offset` pixels, with an arrow from the point to the
// middle of the box's bottom edge when it is raised. An arrow in the point's colour or the
// chart's colour would not show: it is drawn black then (white on a black chart).
void DrawMarkBox(ChartCanvas& canvas,
                 const TSeriesMarks& marks,
                 std::string_view text,
                 ChartPoint at,
                 int raise,
                 TColor pointColor,
                 TColor chartColor,
                 ChartPoint offset = {});

}  // namespace gatool
