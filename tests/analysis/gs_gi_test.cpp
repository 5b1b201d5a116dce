// Tests of GS and GI: the fit over scans 1 to LastScan, manual values and the kept values.
#include "analysis/gs_gi.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "base/exceptions.h"
#include "numtext/number_marks.h"

namespace gatool {
namespace {

struct ScanPeak {
    float MidPos;
    float PeakPos;
};

// A test whose scans have the given midpoints and peak positions in `slit`.
std::unique_ptr<GaTest> TestWith(const std::vector<ScanPeak>& scans, std::size_t slit = 1) {
    auto test = std::make_unique<GaTest>();
    for (std::size_t k = 0; k < scans.size(); ++k) {
        test->Scans[k].MidPos = scans[k].MidPos;
        test->Scans[k].PeakPos[slit] = scans[k].PeakPos;
    }
    test->LastScan = static_cast<std::int32_t>(scans.size()) - 1;
    return test;
}

GsGiInputs Checked(std::initializer_list<std::size_t> slits) {
    GsGiInputs inputs;
    for (const std::size_t s : slits) {
        inputs.SlitChecked[s] = true;
    }
    return inputs;
}

const std::vector<ScanPeak> FourScans{{100, 101}, {200, 201.5}, {300, 302}, {400, 402.5}};

class DeriveGsGiTest : public ::testing::Test {
  protected:
    void SetUp() override { SetNumberMarks(".", ","); }
};

TEST_F(DeriveGsGiTest, FitsScansOneToLastScanAndDrawsTheLineFromTheFirstScan) {
    auto test = TestWith(FourScans);
    const GsGiResult result = DeriveGsGi(*test, Checked({1}));
    EXPECT_EQ(result.Source, GsGiSource::Fit);
    EXPECT_NEAR(result.GS, 1.005, 1e-12);
    EXPECT_NEAR(result.GI, 0.5, 1e-9);
    EXPECT_EQ(result.GsText, "1.005");
    EXPECT_EQ(result.GiText, "0.5");
    EXPECT_EQ(test->CurrentGS, static_cast<float>(result.GS));
    EXPECT_EQ(test->CurrentGI, static_cast<float>(result.GI));
    ASSERT_TRUE(result.Line.has_value());
    EXPECT_EQ((*result.Line)[0].X, 100);
    EXPECT_NEAR((*result.Line)[0].Y, 1, 1e-9);
    EXPECT_EQ((*result.Line)[1].X, 400);
    EXPECT_NEAR((*result.Line)[1].Y, 2.5, 1e-9);

    auto five = TestWith({{100, 101}, {200, 201.5}, {300, 302}, {400, 402.5}, {500, 503.5}});
    const GsGiResult fifth = DeriveGsGi(*five, Checked({1}));
    EXPECT_NEAR(fifth.GS, 1.0065, 1e-12);
    EXPECT_NEAR(fifth.GI, 0.1, 1e-9);
    EXPECT_EQ(fifth.GsText, "1.0065");
    EXPECT_EQ(fifth.GiText, "0.1");
}

TEST_F(DeriveGsGiTest, TakesTheHighestCheckedSlitOnly) {
    auto test = TestWith(FourScans, 3);
    // Slit 1 holds other peaks; only slit 3 counts.
    for (std::size_t k = 0; k < 4; ++k) {
        test->Scans[k].PeakPos[1] = static_cast<float>(k * k);
    }
    EXPECT_NEAR(DeriveGsGi(*test, Checked({1, 3})).GS, 1.005, 1e-12);
}

TEST_F(DeriveGsGiTest, FitsTheCentresOfMassWhenAsked) {
    auto test = TestWith(FourScans);
    const double centres[] = {0, 202, 304, 406};
    for (std::size_t k = 0; k < 4; ++k) {
        test->Scans[k].CentreOfMass[1] = centres[k];
    }
    GsGiInputs inputs = Checked({1});
    inputs.UseCentreMass = true;
    const GsGiResult result = DeriveGsGi(*test, inputs);
    EXPECT_NEAR(result.GS, 1.02, 1e-12);
    EXPECT_NEAR(result.GI, -2, 1e-9);
    EXPECT_EQ(result.GiText, "-2");
}

TEST_F(DeriveGsGiTest, TakesTheBoxesInManualMode) {
    auto test = TestWith(FourScans);
    GsGiInputs inputs = Checked({1});
    inputs.ManualGSGI = true;
    inputs.GsText = "1";
    inputs.GiText = "0";
    const GsGiResult result = DeriveGsGi(*test, inputs);
    EXPECT_EQ(result.Source, GsGiSource::Manual);
    EXPECT_EQ(result.GS, 1);
    EXPECT_EQ(result.GI, 0);
    // The horizontal line PeakOffset = 0.
    EXPECT_EQ((*result.Line)[0].Y, 0);
    EXPECT_EQ((*result.Line)[1].Y, 0);

    inputs.GsText = " 1.0033333 ";
    inputs.GiText = "-0.333";
    const GsGiResult typed = DeriveGsGi(*test, inputs);
    EXPECT_EQ(typed.GsText, "1.00333");
    EXPECT_EQ(typed.GiText, "-0.33");
    EXPECT_EQ(test->CurrentGS, 1.0033333f);
}

TEST_F(DeriveGsGiTest, LeavesEverythingAsItWasForABoxThatIsNotANumber) {
    auto test = TestWith(FourScans);
    test->CurrentGS = 1.5f;
    test->CurrentGI = 2.5f;
    GsGiInputs inputs = Checked({1});
    inputs.ManualGSGI = true;
    inputs.GsText = "1,2";
    inputs.GiText = "abc";
    try {
        DeriveGsGi(*test, inputs);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        // GI is read first.
        EXPECT_STREQ(error.what(), "'abc' is not a valid floating point value");
    }
    inputs.GiText = "0";
    EXPECT_THROW(DeriveGsGi(*test, inputs), EConvertError);
    EXPECT_EQ(test->CurrentGS, 1.5f);
    EXPECT_EQ(test->CurrentGI, 2.5f);
}

TEST_F(DeriveGsGiTest, KeepsTheBoxesValuesWhenNoFitCanBeMade) {
    struct Case {
        const char* what;
        std::vector<ScanPeak> scans;
        GsGiInputs inputs;
        GsGiSource source;
        bool line;
    } const cases[] = {
        {"three scans",
         {{100, 101}, {200, 201.5}, {300, 302}},
         Checked({1}),
         GsGiSource::TooFewScans,
         true},
        {"no slit checked", FourScans, Checked({}), GsGiSource::NoSlitChecked, false},
        {"no scans", {}, Checked({1}), GsGiSource::NoScans, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto test = TestWith(c.scans);
        GsGiInputs inputs = c.inputs;
        inputs.GsText = "1.0012";
        inputs.GiText = "-4.2";
        const GsGiResult result = DeriveGsGi(*test, inputs);
        EXPECT_EQ(result.Source, c.source);
        EXPECT_FALSE(DescribeGsGiSource(result.Source).empty());
        EXPECT_EQ(result.GS, 1.0012);
        EXPECT_EQ(result.GI, -4.2);
        EXPECT_EQ(result.GsText, "1.0012");
        EXPECT_EQ(result.GiText, "-4.2");
        EXPECT_EQ(test->CurrentGS, 1.0012f);
        EXPECT_EQ(result.Line.has_value(), c.line);
    }
}

TEST_F(DeriveGsGiTest, WritesTheBoxesWithTheLocalesDecimalMark) {
    SetNumberMarks(",", ".");
    auto test = TestWith(FourScans);
    const GsGiResult result = DeriveGsGi(*test, Checked({1}));
    EXPECT_EQ(result.GsText, "1,005");
    EXPECT_EQ(result.GiText, "0,5");
    SetNumberMarks(".", ",");
}

}  // namespace
}  // namespace gatool
