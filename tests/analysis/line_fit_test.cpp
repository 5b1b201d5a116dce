// Tests of the least-squares straight line.
#include "analysis/line_fit.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/exceptions.h"

namespace gatool {
namespace {

TEST(FitLine, FitsPointsOneToN) {
    struct Case {
        std::vector<double> x, y;  // index 0 is never read
        double slope, intercept;
    } const cases[] = {
        {{12345, 200, 300, 400}, {-1e9, 201.5, 302, 402.5}, 1.005, 0.5},
        {{0, 200, 300, 400, 500}, {0, 201.5, 302, 402.5, 503.5}, 1.0065, 0.1},
        {{0, 1, 2, 3}, {0, 5, 5, 5}, 0, 5},
        {{0, 1, MissingMark, 2, 3}, {0, 1, 1e9, 3, 5}, 2, -1},
        // Only x carries the mark; a y of -999 is an ordinary value.
        {{0, 1, 2, 3}, {0, MissingMark, MissingMark, MissingMark}, 0, MissingMark},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x.size());
        double slope = 77, intercept = 77;
        EXPECT_TRUE(FitLine(c.x, c.y, static_cast<int>(c.x.size()) - 1, slope, intercept));
        EXPECT_NEAR(slope, c.slope, 1e-12);
        EXPECT_NEAR(intercept, c.intercept, 1e-9);
    }
}

TEST(FitLine, LeavesSlopeAndInterceptWithFewerThanThreePoints) {
    struct Case {
        std::vector<double> x, y;
    } const cases[] = {
        {{0, 1, MissingMark, 3}, {0, 1, 2, 3}},
        {{0, 1, 2}, {0, 1, 2}},
        {{0}, {0}},
    };
    for (const Case& c : cases) {
        double slope = 77, intercept = 78;
        EXPECT_FALSE(FitLine(c.x, c.y, static_cast<int>(c.x.size()) - 1, slope, intercept));
        EXPECT_EQ(slope, 77);
        EXPECT_EQ(intercept, 78);
    }
}

TEST(FitLine, GivesZerosWhenAllXValuesAreEqual) {
    const std::vector<double> x{0, 5, 5, 5}, y{0, 1, 2, 3};
    double slope = 77, intercept = 77;
    EXPECT_TRUE(FitLine(x, y, 3, slope, intercept));
    EXPECT_EQ(slope, 0);
    EXPECT_EQ(intercept, 0);
}

TEST(FitLine, RaisesOverflowForASlopeBeyondTheDoubleRange) {
    const std::vector<double> x{0, 0, 1e-300, 2e-300}, y{0, 0, 1e300, 2e300};
    double slope = 0, intercept = 0;
    EXPECT_THROW(FitLine(x, y, 3, slope, intercept), EOverflow);
}

}  // namespace
}  // namespace gatool
