// Tests of the anchor rule that moves and stretches the window's controls on resize.
#include "ui/main_form_definition.h"

#include <gtest/gtest.h>

namespace gatool {
namespace {

struct AnchorCase {
    const char* What;
    Anchors Anchoring;
    QRect Expected;  // of a control designed at (8, 424, 75, 25), in a window grown by 100 x 50
};

TEST(AnchoredGeometry, KeepsTheDistanceToEveryAnchoredEdge) {
    const QRect design{8, 424, 75, 25};
    const AnchorCase cases[] = {
        {"left and top: stays", LeftTop, {8, 424, 75, 25}},
        {"left and bottom: moves down", LeftBottom, {8, 474, 75, 25}},
        {"right and bottom: moves down and right", RightBottom, {108, 474, 75, 25}},
        {"all edges: grows both ways", AllEdges, {8, 424, 175, 75}},
    };
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(AnchoredGeometry(design, c.Anchoring, {500, 480}, {600, 530}), c.Expected);
    }
}

TEST(AnchoredGeometry, LeavesEveryControlInPlaceAtTheDesignedSize) {
    for (const ControlDefinition& control : MainFormControls()) {
        SCOPED_TRACE(control.Name);
        EXPECT_EQ(AnchoredGeometry(control.Geometry, control.Anchoring, MainFormSize, MainFormSize),
                  control.Geometry);
    }
}

}  // namespace
}  // namespace gatool
