// Tests of the figures the scan graph shows for a located peak.
#include "analysis/peak_figures.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "tests/analysis/scan_fixture.h"

namespace gatool {
namespace {

using testing::ScanWith;

TEST(FitCurve, HasFortyPointsForFiveAndSixtyOneForSeven) {
    struct Case {
        FitWindow window;
        std::size_t points;
        double lastT;
    } const cases[] = {{FitWindow::FivePoint, 40, 1.9}, {FitWindow::SevenPoint, 61, 3.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points);
        ScanRecord record = ScanWith(10, {1, 5, 9, 5, 1});
        LocatePeak(record, 0, 0, c.window);
        const auto curve = FitCurve(record, 0, c.window);
        ASSERT_EQ(curve.size(), c.points);
        const double peakStepPos = 144;
        EXPECT_EQ(curve.front().X, peakStepPos - FitHalfWidth(c.window) * 4);
        EXPECT_NEAR(curve.back().X, peakStepPos + c.lastT * 4, 1e-4);
        // Each point lies on the stored quadratic.
        for (const CurvePoint& point : curve) {
            const double t = (point.X - peakStepPos) / 4;
            EXPECT_NEAR(point.Y, record.FitA0[0] + record.FitA1[0] * t + record.FitA2[0] * t * t,
                        1e-4);
        }
    }
}

TEST(PeakAsymmetry, ComparesTheNeighboursOfTheNearestStep) {
    ScanRecord record = ScanWith(10, {1, 4, 8, 6, 1});
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    ASSERT_EQ(record.NearIndex[0], 12);
    EXPECT_DOUBLE_EQ(*PeakAsymmetry(record, 0), (4.0 + 6.0) / 8.0 * 100 * 0.5 - 100);
}

TEST(PeakAsymmetry, IsEmptyForAZeroCountAtTheNearestStep) {
    ScanRecord record = ScanWith(10, {1, 4, 8, 6, 1});
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    record.Counts[0][12] = 0;
    EXPECT_FALSE(PeakAsymmetry(record, 0).has_value());
}

TEST(PeakCurvature, IsTheFallOneStepBelowTheVertexRelativeToTheHeight) {
    ScanRecord record = ScanWith(10, {1, 4, 8, 6, 1});
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    const double x = record.VertexOffset;
    const auto q = [&](double t) {
        return record.FitA0[0] + record.FitA1[0] * t + record.FitA2[0] * t * t;
    };
    EXPECT_NEAR(PeakCurvature(record, 0), (q(x - 1) - q(x)) / record.PeakCount[0] * 100, 1e-9);
    EXPECT_LT(PeakCurvature(record, 0), 0);
}

TEST(PeakCurvature, FailsForAZeroPeakHeight) {
    ScanRecord record = ScanWith(10, {1, 4, 8, 6, 1});
    LocatePeak(record, 0, 0, FitWindow::FivePoint);
    record.PeakCount[0] = 0;
    EXPECT_THROW(PeakCurvature(record, 0), EZeroDivide);
}

}  // namespace
}  // namespace gatool
