// \brief The chart's mouse vocabulary: buttons, the shift state, cursors, panning modes, the parts
// of a chart that a press can fall on, the records of a zoom or panning drag and the chart's mouse
// events. Positions are integer pixels of the chart's client area.
#pragma once

#include <functional>

namespace gatool {

class ChartModel;
class TChartSeries;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys and mouse buttons held during a mouse event; Double marks the press that completes a
// double-click.
struct TShiftState {
    bool Shift = false;
    bool Alt = false;
    bool Ctrl = false;
    bool Left = false;
    bool Right = false;
    bool Middle = false;
    bool Double = false;
    bool operator==(const TShiftState&) const = default;
};

enum TCursor { crDefault, crHandPoint };

// The directions in which a right-button drag scrolls the chart.
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// The part of a chart under a position; the chart has no foot title.
enum TChartClickedPartStyle { cpNone, cpSeries, cpAxis, cpTitle, cpChartRect, cpLegend };

struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    TChartSeries* Series = nullptr;  // cpSeries: the series hit
    int PointIndex = -1;             // cpSeries: the point, or the first point of the segment
    bool operator==(const TChartClickedPart&) const = default;
};

// A zoom or panning drag: where the button went down (X0, Y0) and the latest position (X1, Y1).
struct TZoomPanningRecord {
    bool Active = false;
    int X0 = 0;
    int Y0 = 0;
    int X1 = 0;
    int Y1 = 0;
};

// valueIndex is the point hit, or the first point of the segment hit.
using TClickSeriesEvent = std::function<void(ChartModel& sender,
                                             TChartSeries& series,
                                             int valueIndex,
                                             TMouseButton button,
                                             TShiftState shift,
                                             int x,
                                             int y)>;
using TMouseMoveEvent = std::function<void(ChartModel& sender, TShiftState shift, int x, int y)>;
using TMouseUpEvent =
    std::function<void(ChartModel& sender, TMouseButton button, TShiftState shift, int x, int y)>;

}  // namespace gatool
