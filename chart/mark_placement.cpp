// \brief Moving mark boxes off each other and into the chart; see mark_placement.h.
#include "chart/mark_placement.h"

#include <algorithm>

namespace gatool {

namespace {

bool Overlap(const ChartRect& a, const ChartRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

void Move(ChartRect& box, int dx, int dy) {
    box.Left += dx;
    box.Right += dx;
    box.Top += dy;
    box.Bottom += dy;
}

// The shift along one direction that keeps [low, high) inside [lowest, highest), the low end
// first when the range is longer than the room.
int ShiftInside(int low, int high, int lowest, int highest) {
    if (high > highest) {
        return std::max(highest - high, lowest - low);
    }
    return std::max(0, lowest - low);
}

}  // namespace

ChartRect MarkPlacement::Place(const ChartRect& wanted, int pointX) {
    ChartRect box = Inside(wanted);
    const auto hit = std::ranges::find_if(
        m_placed, [&box](const ChartRect& placed) { return Overlap(box, placed); });
    if (hit != m_placed.end()) {
        // Doubled, so that the centre of a box with an odd width needs no rounding.
        const bool rightwards = 2 * pointX >= hit->Left + hit->Right;
        const Way ways[] = {rightwards ? Way::Right : Way::Left,
                            rightwards ? Way::Left : Way::Right, Way::Up, Way::Down};
        for (const Way way : ways) {
            const ChartRect moved = MovedPast(box, way);
            if (WithinBounds(moved)) {
                box = moved;
                break;
            }
        }
    }
    m_placed.push_back(box);
    return box;
}

ChartRect MarkPlacement::MovedPast(ChartRect box, Way way) const {
    // Moving one way only, the box passes each placed box at most once, so it is free after as
    // many rounds as there are placed boxes.
    for (std::size_t round = 0; round < m_placed.size(); ++round) {
        const auto hit = std::ranges::find_if(
            m_placed, [&box](const ChartRect& placed) { return Overlap(box, placed); });
        if (hit == m_placed.end()) {
            break;
        }
        switch (way) {
            case Way::Right:
                Move(box, hit->Right + Gap - box.Left, 0);
                break;
            case Way::Left:
                Move(box, hit->Left - Gap - box.Right, 0);
                break;
            case Way::Up:
                Move(box, 0, hit->Top - Gap - box.Bottom);
                break;
            case Way::Down:
                Move(box, 0, hit->Bottom + Gap - box.Top);
                break;
        }
    }
    return box;
}

ChartRect MarkPlacement::Inside(ChartRect box) const {
    Move(box, ShiftInside(box.Left, box.Right, m_bounds.Left, m_bounds.Right),
         ShiftInside(box.Top, box.Bottom, m_bounds.Top, m_bounds.Bottom));
    return box;
}

bool MarkPlacement::WithinBounds(const ChartRect& box) const {
    return m_bounds.Left <= box.Left && box.Right <= m_bounds.Right && m_bounds.Top <= box.Top &&
           box.Bottom <= m_bounds.Bottom;
}

}  // namespace gatool
