// \brief MarkPlacement: the mark boxes drawn so far in one drawing of a chart, so that a later box
// that would cover one of them is moved beside it.
#pragma once

#include <vector>

#include "chart/chart_geometry.h"

namespace gatool {

class MarkPlacement {
  public:
    // Pixels left free between a moved box and the box it was moved away from.
    static constexpr int Gap = 2;

    // Where the box wanted at `wanted` for a point at x = `pointX` is drawn; remembered for the
    // boxes placed after it. A box that overlaps no box placed before stays where it is wanted.
    // Otherwise it moves sideways until it overlaps none: beside the first box it overlaps, to the
    // right when the point lies at or right of that box's centre and to the left when it lies left
    // of it, then on to the same side past every further box it overlaps.
    ChartRect Place(const ChartRect& wanted, int pointX);

  private:
    std::vector<ChartRect> m_placed;
};

}  // namespace gatool
