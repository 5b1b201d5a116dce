// Tests of peak location: centre of mass, peak step, the quadratic fits and their failures.
#include "analysis/peak_location.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "base/float_faults.h"
#include "tests/analysis/scan_fixture.h"

namespace gatool {
namespace {

using testing::Scan;
using testing::ScanWith;

TEST(LocatePeak, FitsTheFivePointWorkedExample) {
    // Counts 1, 5, 9, 5, 1 around step 12 (the background is 1 as well).
    ScanRecord record = ScanWith(10, {1, 5, 9, 5, 1});
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    EXPECT_EQ(record.PeakIndex[0], 12);
    EXPECT_EQ(record.FitA1[0], 0);
    EXPECT_EQ(record.VertexOffset, 0);
    EXPECT_EQ(record.PeakPos[0], 144);
    EXPECT_EQ(record.PeakCount[0], static_cast<float>(534.0L / 70));
    EXPECT_FLOAT_EQ(record.PeakCount[0], 7.6285714f);
    EXPECT_EQ(record.MidPos, 148);
    EXPECT_EQ(record.StepWidth, 4);
    EXPECT_EQ(record.PeakOffset[0], -4);
    EXPECT_EQ(record.NearIndex[0], 12);
    EXPECT_DOUBLE_EQ(record.CentreOfMass[0], (5 * 140 + 9 * 144 + 5 * 148) / 19.0);
}

TEST(LocatePeak, RecoversTheVertexOfAnExactQuadraticWithBothWindows) {
    // q(i) = 1000 - 10 (i - 12.3)^2: the vertex lies 0.3 steps after step 12.
    for (const FitWindow window : {FitWindow::FivePoint, FitWindow::SevenPoint}) {
        SCOPED_TRACE(FitHalfWidth(window));
        ScanRecord record = Scan([](int i) {
            const double t = i - 12.3;
            return static_cast<float>(1000 - 10 * t * t);
        });
        LocatePeak(record, 0, 0, window);
        EXPECT_EQ(record.PeakIndex[0], 12);
        EXPECT_NEAR(record.VertexOffset, 0.3, 1e-4);
        EXPECT_NEAR(record.PeakPos[0], 144 + 0.3 * 4, 1e-3);
        EXPECT_NEAR(record.PeakCount[0], 1000, 1e-2);
        EXPECT_NEAR(record.FitA2[0], -10, 1e-4);
        // The invariants of a located peak.
        EXPECT_EQ(record.PeakPos[0], static_cast<float>(144 + Extended{record.VertexOffset} * 4));
        EXPECT_EQ(record.PeakOffset[0], record.PeakPos[0] - record.MidPos);
    }
}

TEST(LocatePeak, CentresOnTheFirstOfEqualMaxima) {
    ScanRecord record = ScanWith(10, {50, 20, 50});
    LocatePeak(record, 0, 0, FitWindow::SevenPoint);
    EXPECT_EQ(record.PeakIndex[0], 10);
}

TEST(LocatePeak, ReadsZeroBeyondTheEndsOfTheScan) {
    // Peaks on steps 2 and 24: the seven-point window reaches one slot past either end. The end
    // counts are lowered so that some counts rise above the end level.
    struct Case {
        int peakStep;
        std::initializer_list<float> counts;
        int first;
    } const cases[] = {{2, {0.5f, 60, 30, 10}, 1}, {24, {10, 30, 60, 0.5f}, 22}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.peakStep);
        ScanRecord record = ScanWith(c.first, c.counts);
        LocatePeak(record, 0, 0, FitWindow::SevenPoint);
        EXPECT_EQ(record.PeakIndex[0], c.peakStep);
        const auto cnt = [&](int i) -> Extended {
            return i >= 1 && i <= StepCount ? record.Counts[0][static_cast<std::size_t>(i)] : 0;
        };
        const int k = c.peakStep;
        const Extended a2 =
            (25 * cnt(k - 3) - 15 * cnt(k - 1) - 20 * cnt(k) - 15 * cnt(k + 1) + 25 * cnt(k + 3)) *
            (1.0L / 420);
        EXPECT_EQ(record.FitA2[0], static_cast<float>(a2));
    }
}

TEST(LocatePeak, LeavesCountsEqualToTheEndLevelOutOfTheCentreOfMass) {
    // End counts 3 and 2: the level is 3, and the 3 at step 11 does not count.
    ScanRecord record = ScanWith(11, {3, 8, 4});
    record.Counts[0][1] = 3;
    record.Counts[0][StepCount] = 2;
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    EXPECT_DOUBLE_EQ(record.CentreOfMass[0], (8 * 144 + 4 * 148) / 12.0);
}

TEST(LocatePeak, FitsAroundTheChosenStepEvenWhereAnotherCountIsLarger) {
    ScanRecord record = ScanWith(10, {1, 5, 9, 5, 1});
    LocatePeak(record, 13, 0, FitWindow::FivePoint);
    EXPECT_EQ(record.PeakIndex[0], 13);
    const Extended expectedA0 = (-6 * 5 + 24 * 9 + 34 * 5 + 24 * 1 - 6 * 1) * (1.0L / 70);
    EXPECT_EQ(record.FitA0[0], static_cast<float>(expectedA0));
    // PeakCount is the height of the quadratic fitted around step 13.
    const Extended x = record.VertexOffset;
    EXPECT_EQ(record.PeakCount[0],
              static_cast<float>(Extended{record.FitA1[0]} * x + record.FitA0[0] +
                                 x * x * Extended{record.FitA2[0]}));
}

TEST(LocatePeak, TakesTheLaterOfTwoNearestSteps) {
    // An exact quadratic with its vertex half-way between steps 12 and 13.
    ScanRecord record =
        Scan([](int i) { return static_cast<float>(100 - (i - 12.5) * (i - 12.5)); });
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    EXPECT_EQ(record.PeakIndex[0], 12);
    EXPECT_EQ(record.VertexOffset, 0.5f);
    EXPECT_EQ(record.PeakPos[0], 146);
    EXPECT_EQ(record.NearIndex[0], 13);
}

TEST(LocatePeak, KeepsTheNearestStepWhenNoneIsCloseEnough) {
    // Around the chosen step 20 the counts are almost a straight line: the vertex lies far before
    // the scan's first step.
    ScanRecord record = ScanWith(18, {10, 11, 12, 13, 14.1f});
    record.NearIndex[0] = 17;
    LocatePeak(record, 20, 0, FitWindow::FivePoint);
    EXPECT_LT(record.PeakPos[0], 100 - 2);
    EXPECT_EQ(record.NearIndex[0], 17);
}

TEST(LocatePeak, FailsWhereTheDataHaveNoPeak) {
    struct Case {
        const char* what;
        ScanRecord record;
        std::int32_t chosenStep;
        const char* message;
    } const cases[] = {
        {"largest count at the last step", Scan([](int i) { return static_cast<float>(i); }), 0,
         "Invalid floating point operation"},
        {"straight line in the window", ScanWith(12, {3, 4, 5, 6, 7, 2}), 14,
         "Floating point division by zero"},
        {"flat window", ScanWith(9, {5, 5, 5, 5, 5, 5, 5}), 12, "Invalid floating point operation"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScanRecord record = c.record;
        try {
            LocatePeak(record, c.chosenStep, 0, FitWindow::FivePoint);
            ADD_FAILURE() << "no error";
        } catch (const EMathError& fault) {
            EXPECT_STREQ(fault.what(), c.message);
        }
    }
}

TEST(LocatePeak, LeavesTheRecordPartlyUpdatedAtAFailure) {
    // The fit window around step 12 is flat: the centre of mass, the peak step and the
    // coefficients are written, the vertex and everything after it are not.
    ScanRecord record = ScanWith(8, {2, 5, 5, 5, 5, 5, 5, 5, 2});
    record.PeakOffset[0] = 77;
    record.VertexOffset = 66;
    EXPECT_THROW(LocatePeak(record, 12, 0, FitWindow::FivePoint), EInvalidOp);
    EXPECT_GT(record.CentreOfMass[0], 0);
    EXPECT_EQ(record.PeakIndex[0], 12);
    EXPECT_EQ(record.FitA2[0], 0);
    EXPECT_EQ(record.VertexOffset, 66);
    EXPECT_EQ(record.PeakOffset[0], 77);
}

TEST(LocatePeak, WorksOnTheGivenSlitOnly) {
    ScanRecord record = ScanWith(10, {1, 5, 9, 5, 1}, 4);
    LocatePeak(record, 0, 4, FitWindow::FivePoint);
    EXPECT_EQ(record.PeakIndex[4], 12);
    EXPECT_EQ(record.PeakIndex[0], 0);
    EXPECT_EQ(record.PeakPos[0], 0);
}

}  // namespace
}  // namespace gatool
