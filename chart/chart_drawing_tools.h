// \brief The pens, brushes and fonts that chart objects are drawn with, as plain values.
#pragma once

#include <optional>
#include <string>

#include "chart/chart_color.h"

namespace gatool {

enum TPenStyle { psSolid, psDot };

struct TChartPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    bool Visible = true;
    bool operator==(const TChartPen&) const = default;
};

enum TBrushStyle { bsSolid, bsClear };

struct TChartBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TChartBrush&) const = default;
};

// Size in points; the text is sized as on a 96 dots-per-inch screen (8 points are 11 pixels).
struct TChartFont {
    std::string Name = "Arial";
    int Size = 8;
    TColor Color = clBlack;
    bool operator==(const TChartFont&) const = default;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// How the canvas draws a closed shape: an outline (none when the pen is not visible) and a fill
// (none for a clear brush). Colours are resolved: never clNotSet.
struct ShapeStyle {
    TChartPen Outline;
    std::optional<TColor> Fill;
};

}  // namespace gatool
