// Tests of the CI scan change simulation.
#include "analysis/ci_simulation.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/exceptions.h"
#include "numtext/number_marks.h"
#include "tests/analysis/scan_fixture.h"

namespace gatool {
namespace {

TEST(EstimateLoss, FollowsTheWorkedExample) {
    ScanRecord record;
    record.FitA0[1] = 100;
    record.FitA1[1] = 0;
    record.FitA2[1] = -10;
    record.VertexOffset = 0;
    record.StepWidth = 2;
    record.PeakIndex[1] = 5;
    record.StepPos[5] = 1000;
    record.MidPos = 1000;
    EXPECT_DOUBLE_EQ(EstimateLoss(record, 1, 1, 1), 2.5);
    // Predicted exactly at the vertex: no loss.
    EXPECT_EQ(EstimateLoss(record, 1, 1, 0), 0);
}

TEST(EstimateLoss, FailsForAZeroPeakHeight) {
    ScanRecord record;
    record.StepWidth = 2;
    record.FitA2[1] = -1;
    record.MidPos = 10;
    EXPECT_THROW(EstimateLoss(record, 1, 1, 1), EZeroDivide);
    // Predicted at the peak step itself (position 0 here): H - Q is 0 too.
    EXPECT_THROW(EstimateLoss(record, 1, 0, 0), EInvalidOp);
}

TEST(SlitWavelength, EvaluatesTheDispersionQuadratic) {
    DispersionCoefficients table{};
    table[1] = {3000, 1, 0};
    table[5] = {1000, 2, 0.001};
    EXPECT_EQ(SlitWavelength(table, 1, 500), 3500);
    EXPECT_DOUBLE_EQ(SlitWavelength(table, 5, 1000), 1000 + 2000 + 1000);
}

class SimulateCiScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetNumberMarks(".", ",");
        // Every scan: a peak on step 12 in slits 1 and 5, midpoint 100 + 48 = 148.
        for (ScanRecord& record : m_test->Scans) {
            record = testing::Scan(
                [](int i) { return 100.0f / static_cast<float>(1 + (i - 12) * (i - 12)); }, 1);
            for (int i = 1; i <= StepCount; ++i) {
                record.Counts[5][static_cast<std::size_t>(i)] =
                    record.Counts[1][static_cast<std::size_t>(i)];
            }
        }
        m_test->LastScan = 3;
        m_test->DispersionTable[0] = {1, 0, 0};
        m_test->DispersionTable[1] = {3000, 0, 0};
        m_test->DispersionTable[5] = {3450, 0, 0};
    }

    std::unique_ptr<GaTest> m_test = std::make_unique<GaTest>();
    CiCurves m_curves;
};

TEST_F(SimulateCiScanTest, AddsOnePointPerScanButTheLast) {
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves);
    ASSERT_EQ(m_curves.Slit1.size(), 3u);
    ASSERT_EQ(m_curves.Slit5.size(), 3u);
    EXPECT_EQ(m_curves.Slit1[0].Wavelength, 3000);
    EXPECT_EQ(m_curves.Slit5[2].Wavelength, 3450);
    // The predicted position, the midpoint, lies one step above the vertex at step 12.
    ScanRecord& record = m_test->Scans[0];
    EXPECT_DOUBLE_EQ(m_curves.Slit1[0].Loss, EstimateLoss(record, 1, 1, 0));
    EXPECT_GT(m_curves.Slit1[0].Loss, 0);

    m_test->LastScan = 1;
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves);
    EXPECT_EQ(m_curves.Slit1.size(), 1u);
    EXPECT_EQ(m_curves.Slit5.size(), 1u);
}

TEST_F(SimulateCiScanTest, SkipsSlitFiveBelowItsMinimumWavelength) {
    m_test->DispersionTable[5] = {3449.9, 0, 0};
    m_test->Scans[0].PeakIndex[5] = 20;
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves);
    EXPECT_EQ(m_curves.Slit1.size(), 3u);
    EXPECT_TRUE(m_curves.Slit5.empty());
    EXPECT_EQ(m_test->Scans[0].PeakIndex[5], 20);  // not located again
}

TEST_F(SimulateCiScanTest, AddsNothingWithoutADcfFile) {
    m_test->DispersionTable[0][0] = 0;
    m_curves.Slit1.push_back({1, 1});
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves);
    EXPECT_TRUE(m_curves.Slit1.empty());
    EXPECT_TRUE(m_curves.Slit5.empty());
}

TEST_F(SimulateCiScanTest, ReplacesAPickedPeakStepOfSlitOne) {
    m_test->Scans[2].PeakIndex[1] = 15;
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves);
    EXPECT_EQ(m_test->Scans[2].PeakIndex[1], 12);
}

TEST_F(SimulateCiScanTest, UsesGsAndGiAsTheBoxesShowThem) {
    SimulateCiScan(*m_test, FitWindow::SevenPoint, "1.00001", "-0.5", m_curves);
    const double loss = m_curves.Slit1[1].Loss;
    EXPECT_DOUBLE_EQ(loss, EstimateLoss(m_test->Scans[1], 1, 1.00001, -0.5));
}

TEST_F(SimulateCiScanTest, EndsAtABoxThatIsNotANumber) {
    try {
        SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "x", m_curves);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid floating point value");
    }
    EXPECT_TRUE(m_curves.Slit1.empty());
}

TEST_F(SimulateCiScanTest, EndsAtAPeakThatCannotBeLocatedKeepingThePointsMadeSoFar) {
    // Scan 1 of slit 1 rises to its last step.
    for (int i = 1; i <= StepCount; ++i) {
        m_test->Scans[1].Counts[1][static_cast<std::size_t>(i)] = static_cast<float>(i);
    }
    EXPECT_THROW(SimulateCiScan(*m_test, FitWindow::SevenPoint, "1", "0", m_curves), EInvalidOp);
    EXPECT_EQ(m_curves.Slit1.size(), 1u);
}

}  // namespace
}  // namespace gatool
