// Tests of the label step and its 1-2-5 walk.
#include "chart/axis_label_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gatool {
namespace {

// Steps are the doubles nearest to their decimal values, so that multiples land on round values.
void ExpectStep(double actual, double expected) {
    EXPECT_EQ(actual, expected);
}

TEST(NextLabelStep, WalksTheOneTwoFiveSeriesAtEveryScale) {
    struct Case {
        double Step;
        double Next;
    };
    const Case cases[] = {
        {1, 2},         {1.5, 2},       {2, 5},
        {4.9, 5},       {5, 10},        {9.99, 10},
        {10, 20},       {20, 50},       {50, 100},
        {100, 200},     {0.5, 1},       {0.1, 0.2},
        {0.2, 0.5},     {1e-12, 2e-12}, {2e-12, 5e-12},
        {5e-12, 1e-11}, {2e6, 5e6},     {9.9999999999999e-5, 2e-4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Step);
        ExpectStep(NextLabelStep(c.Step), c.Next);
    }
}

TEST(LabelStep, IsTheFirstStepWhoseLabelsFit) {
    struct Case {
        const char* Name;
        LabelStepInputs Inputs;
        double Step;
    };
    const Case cases[] = {
        // 200 pixels, 13-pixel labels, 10 % separation: Round(200 / 14) = 14 labels fit; 0 to 1000
        // walks 1, 2, 5, 10, 20, 50 (20 labels) to 100 (10 labels).
        {"WorkedExample", {1000, 200, 13, 10, 0}, 100},
        {"SpanOfTwoAndAHalfKeepsOne", {2.5, 132, 13, 10, 0}, 1},
        {"SpanBelowOneStartsSmall", {0.5, 120, 13, 10, 0}, 0.1},
        {"ZeroSpanKeepsTheSmallestStep", {0, 120, 13, 10, 0}, 1e-12},
        {"NoRoomForALabel", {1000, 0, 13, 10, 0}, 1e-12},
        {"NoSeparationNoWalk", {1000, 200, 13, 0, 0}, 1},
        {"NegativeSeparationNoWalk", {1000, 200, 13, -5, 0}, 1},
        {"LabelsWithoutSizeCountAsOne", {1000, 200, 0, 10, 0}, 1000},
        {"IncrementThatFitsStays", {1000, 200, 13, 10, 500}, 500},
        {"IncrementIsWalkedUpwards", {1000, 200, 13, 10, 7}, 100},
        {"NegativeSpan", {-1000, 200, 13, 10, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectStep(LabelStep(c.Inputs), c.Step);
    }
}

TEST(NextLabelStep, GivesStepsWhoseMultiplesAreRoundValues) {
    EXPECT_EQ(std::trunc(0.5 / NextLabelStep(0.02)) * NextLabelStep(0.02), 0.5);
    EXPECT_EQ(10 * NextLabelStep(0.05), 1);
}

TEST(NextLabelStep, AlwaysGrows) {
    for (double step = 1e-12; step < 1e12; step = NextLabelStep(step)) {
        EXPECT_GT(NextLabelStep(step), step * 1.5);
    }
}

TEST(LabelStep, EndsForASpanBeyondTheDoubleRange) {
    EXPECT_TRUE(std::isinf(LabelStep({std::numeric_limits<double>::infinity(), 200, 13, 10, 0})));
    EXPECT_TRUE(std::isinf(NextLabelStep(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace gatool
