// Tests of the dark-count and dead-time correction.
#include "data/dead_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/exceptions.h"

namespace gatool {
namespace {

GaHeader Header(double integrationTime, std::int32_t cy, double deadTime) {
    GaHeader header;
    header.IntegrationTime = integrationTime;
    header.Cy = cy;
    header.DeadTime = deadTime;
    return header;
}

TEST(CorrectDeadTime, WithoutDeadTimeOnlyNormalises) {
    const GaHeader header = Header(0.25, 3, 0);
    for (const float raw : {100.0f, 1234.5f, 0.0f, 7.0f, 1e30f}) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(CorrectDeadTime(header, 7, raw),
                  static_cast<float>((raw - 7.0L) / (3 * 0.25L * 0.5L)));
    }
}

TEST(CorrectDeadTime, IteratesEightTimesFromTheUncorrectedRate) {
    const GaHeader header = Header(0.5, 4, 0.000001);
    const float n = CorrectDeadTime(header, 100, 100100);
    EXPECT_NEAR(n, 111832.56, 0.01);
    // The same eight single-precision iterates computed here step by step.
    float expected = 100000;
    for (int i = 0; i < 8; ++i) {
        expected = static_cast<float>(100000.0L * std::exp(static_cast<double>(expected * 1e-6L)));
    }
    EXPECT_EQ(n, expected);
}

TEST(CorrectDeadTime, KeepsACountBelowTheDarkCountNegative) {
    EXPECT_LT(CorrectDeadTime(Header(0.5, 4, 1e-6), 100, 50), 0);
}

TEST(CorrectDeadTime, ReportsTheFaultsOfAZeroCountingTime) {
    EXPECT_THROW(CorrectDeadTime(Header(0.5, 0, 0), 100, 200), EZeroDivide);
    EXPECT_THROW(CorrectDeadTime(Header(0, 4, 0), 100, 200), EZeroDivide);
    EXPECT_THROW(CorrectDeadTime(Header(0, 4, 0), 100, 100), EInvalidOp);
}

TEST(CorrectDeadTime, OverflowsWhenTheIterationRunsAway) {
    // N0 x DeadTime far above 1/e: the iterates grow without bound.
    EXPECT_THROW(CorrectDeadTime(Header(0.5, 4, 0.001), 0, 1e6), EOverflow);
    EXPECT_THROW(CorrectDeadTime(Header(0.5, 4, 1e-30), 0, 3e38f), EOverflow);
}

}  // namespace
}  // namespace gatool
