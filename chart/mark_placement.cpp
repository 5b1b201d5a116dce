// \brief Moving mark boxes off each other; see mark_placement.h.
#include "chart/mark_placement.h"

#include <algorithm>
#include <optional>

namespace gatool {

namespace {

bool Overlap(const ChartRect& a, const ChartRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

}  // namespace

ChartRect MarkPlacement::Place(const ChartRect& wanted, int pointX) {
    ChartRect box = wanted;
    // The first overlap decides the side. Moving to that side only, the box passes each placed box
    // at most once, so it is free after as many rounds as there are placed boxes.
    std::optional<bool> rightwards;
    for (std::size_t round = 0; round < m_placed.size(); ++round) {
        const auto hit = std::ranges::find_if(
            m_placed, [&box](const ChartRect& placed) { return Overlap(box, placed); });
        if (hit == m_placed.end()) {
            break;
        }
        if (!rightwards) {
            // Doubled, so that the centre of a box with an odd width needs no rounding.
            rightwards = 2 * pointX >= hit->Left + hit->Right;
        }
        const int shift = *rightwards ? hit->Right + Gap - box.Left : hit->Left - Gap - box.Right;
        box.Left += shift;
        box.Right += shift;
    }
    m_placed.push_back(box);
    return box;
}

}  // namespace gatool
