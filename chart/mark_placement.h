// \brief MarkPlacement: the mark boxes drawn so far in one drawing of a chart, so that a later box
// that would cover one of them is moved beside it, and every box stays inside the chart.
#pragma once

#include <vector>

#include "chart/chart_geometry.h"

namespace gatool {

class MarkPlacement {
  public:
    // Pixels left free between a moved box and the box it was moved away from.
    static constexpr int Gap = 2;

    // Boxes are placed inside `bounds`, the chart's client area.
    explicit MarkPlacement(const ChartRect& bounds) : m_bounds(bounds) {}

    // Where the box wanted at `wanted` for a point at x = `pointX` is drawn; remembered for the
    // boxes placed after it. A box reaching past the bounds is first moved back inside them. A box
    // that then overlaps no box placed before stays there. Otherwise it moves sideways until it
    // overlaps none: beside the first box it overlaps, to the right when the point lies at or
    // right of that box's centre and to the left when it lies left of it, then on to the same
    // side past every further box it overlaps. Where that side leaves the bounds, the box tries
    // the other side, then upwards and downwards the same way; where every way leaves them, it
    // stays inside them over the boxes it overlaps.
    ChartRect Place(const ChartRect& wanted, int pointX);

  private:
    enum class Way { Right, Left, Up, Down };

    // `box` moved the way given past every placed box it overlaps.
    ChartRect MovedPast(ChartRect box, Way way) const;
    // `box` moved the least that brings it inside the bounds, as far as it fits them.
    ChartRect Inside(ChartRect box) const;
    bool WithinBounds(const ChartRect& box) const;

    ChartRect m_bounds;
    std::vector<ChartRect> m_placed;
};

}  // namespace gatool
