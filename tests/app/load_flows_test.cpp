// Tests of the load flows and the slope refresh without a window.
#include "app/load_flows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exceptions.h"
#include "numtext/number_marks.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

// The computed refreshes, with a log of the routines the flows run.
class LoggedRefreshes : public ComputedRefreshes {
  public:
    using ComputedRefreshes::ComputedRefreshes;
    void UpdateSlopeFit() override {
        Log.push_back("UpdateSlopeFit");
        ComputedRefreshes::UpdateSlopeFit();
    }
    void ShowScan(int scan, int slit) override {
        Log.push_back("ShowScan " + std::to_string(scan) + " " + std::to_string(slit));
        ComputedRefreshes::ShowScan(scan, slit);
    }
    void SimulateCiScan(bool automaticRange) override {
        Log.push_back(automaticRange ? "SimulateCiScan automatic" : "SimulateCiScan fixed");
        ComputedRefreshes::SimulateCiScan(automaticRange);
    }
    std::vector<std::string> Log;
};

class LoadFlowsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetNumberMarks(".", ","); }

    void LoadGa(const std::string& text) {
        InputStream in = InputStream::FromMemory(text);
        LoadGaFile(m_state, in, m_refreshes, m_outcome);
    }

    void LoadDcf(const std::string& text) {
        InputStream in = InputStream::FromMemory(text);
        LoadDcfFile(m_state, in, m_refreshes);
    }

    ToolState m_state;
    LoggedRefreshes m_refreshes{m_state};
    GaLoadOutcome m_outcome;
};

const std::string Dcf = "3000 1 0  3100 1 0  3200 1 0  3300 1 0  2500 1 0  1 0 0";

TEST(HasNamePrefix, TestsTheFileNameInAnyLetterCase) {
    EXPECT_TRUE(HasNamePrefix("/data/GA0412.TXT", "GA"));
    EXPECT_TRUE(HasNamePrefix("ga0412.txt", "GA"));
    EXPECT_TRUE(HasNamePrefix("Dcf_2026", "DCF"));
    EXPECT_FALSE(HasNamePrefix("/data/GA/test.txt", "GA"));  // a folder's name does not count
    EXPECT_FALSE(HasNamePrefix("G", "GA"));
    EXPECT_FALSE(HasNamePrefix("xGA", "GA"));
}

TEST_F(LoadFlowsTest, LoadsMarksScanZeroFitsAndRewritesTheBoxes) {
    // Peaks exactly at the midpoints: GS 1 and GI 0 after the fit.
    LoadGa(testing::GaText(5));
    EXPECT_EQ(m_state.Test->LastScan, 4);
    EXPECT_EQ(m_state.Test->SelectedScan, 0);
    EXPECT_EQ(m_outcome.ScansRead, 5);
    ASSERT_TRUE(m_state.SlopeFit.has_value());
    EXPECT_EQ(m_state.SlopeFit->Source, GsGiSource::Fit);
    EXPECT_EQ(m_state.Controls.GsText, "1");
    EXPECT_EQ(m_state.Controls.GiText, "0");
    EXPECT_TRUE(m_state.Ci.Slit1.empty());  // no DCF file
}

TEST_F(LoadFlowsTest, ShowsEveryScanAsItIsReadThenRefreshesAndShowsSlitOneOfScanZero) {
    LoadGa(testing::GaText(2));
    const std::vector<std::string> expected{"ShowScan 0 0",   "ShowScan 0 1",
                                            "ShowScan 0 2",   "ShowScan 0 3",
                                            "ShowScan 0 4",   "ShowScan 0 5",
                                            "ShowScan 1 0",   "ShowScan 1 1",
                                            "ShowScan 1 2",   "ShowScan 1 3",
                                            "ShowScan 1 4",   "ShowScan 1 5",
                                            "UpdateSlopeFit", "SimulateCiScan automatic",
                                            "ShowScan 0 1",   "SimulateCiScan automatic"};
    EXPECT_EQ(m_refreshes.Log, expected);
    EXPECT_EQ(m_state.Test->ShownScan, 0);
    EXPECT_EQ(m_state.Test->ShownSlit, 1);
}

TEST(ResolveShownScan, RemembersWhatItResolvesAndKeepsItForNegativeArguments) {
    GaTest test;
    EXPECT_EQ(ResolveShownScan(test, 3, 2), std::make_pair(3, 2));
    EXPECT_EQ(ResolveShownScan(test, -1, -1), std::make_pair(3, 2));
    EXPECT_EQ(ResolveShownScan(test, 4, -1), std::make_pair(4, 2));
    EXPECT_EQ(ResolveShownScan(test, -1, 0), std::make_pair(4, 0));
    EXPECT_EQ(test.ShownScan, 4);
    EXPECT_EQ(test.ShownSlit, 0);
}

TEST_F(LoadFlowsTest, SimulatesWithADcfFileLoadedInEitherOrder) {
    LoadDcf(Dcf);
    EXPECT_TRUE(m_refreshes.Log.empty());  // no scans loaded: no simulation
    LoadGa(testing::GaText(4));
    const std::size_t pointsAfterGa = m_state.Ci.Slit1.size();
    EXPECT_EQ(pointsAfterGa, 3u);
    EXPECT_EQ(m_state.Ci.Slit1[0].Wavelength, 3000 + 1048);
    m_state.Ci = {};
    LoadDcf(Dcf);  // four scans loaded: the simulation runs again
    EXPECT_EQ(m_state.Ci.Slit1.size(), pointsAfterGa);
}

TEST_F(LoadFlowsTest, LoadsADcfFileWithoutSimulatingWhileFewerThanThreeScansAreLoaded) {
    LoadGa(testing::GaText(2));
    LoadDcf(Dcf);
    EXPECT_EQ(m_state.Test->DispersionTable[1][0], 3000);
    EXPECT_TRUE(m_state.Ci.Slit1.empty());
}

TEST_F(LoadFlowsTest, StopsAfterTheSlopeRefreshForAFileWithoutScans) {
    LoadGa(testing::HeaderText());
    EXPECT_EQ(m_state.Test->LastScan, -1);
    EXPECT_EQ(m_state.SlopeFit->Source, GsGiSource::NoScans);
    EXPECT_FALSE(m_state.SlopeFit->Line.has_value());
    EXPECT_EQ(m_refreshes.Log,
              (std::vector<std::string>{"UpdateSlopeFit", "SimulateCiScan automatic"}));
}

TEST_F(LoadFlowsTest, CountsTheScansReadBeforeAFailure) {
    const std::string text = testing::HeaderText() + testing::BlockText(100, 1000, 4) +
                             testing::BlockText(100, 1010, 4, [](int, int i) { return 10.0 * i; });
    EXPECT_THROW(LoadGa(text), EInvalidOp);
    EXPECT_EQ(m_outcome.ScansRead, 1);
    EXPECT_EQ(m_state.Test->SelectedScan, 1);

    // A failure after the reading: every scan was read.
    m_state.Controls.ManualGSGI = true;
    m_state.Controls.GsText = "one";
    EXPECT_THROW(LoadGa(testing::GaText(3)), EConvertError);
    EXPECT_EQ(m_outcome.ScansRead, 3);
    EXPECT_EQ(m_state.Test->SelectedScan, 0);
}

TEST_F(LoadFlowsTest, TellsWhereAFailureStruckAndForgetsThePlaceOfALoadThatEnded) {
    const auto place = [this] {
        const LoadPlace& p = m_state.Place;
        return std::vector<long>{static_cast<long>(p.Stage), p.Scan, p.Slit, p.Step, p.Line};
    };
    const auto expected = [](LoadStage stage, int scan, int slit, int step, long line) {
        return std::vector<long>{static_cast<long>(stage), scan, slit, step, line};
    };
    // Slit 1 at step 3 of the second block, on line 7 + 26 + 1 + 3.
    const std::string overflow = testing::HeaderText() + testing::BlockText(100, 1000, 4) +
                                 "DARK 1\r\n1 2 3 4 5 6 7\r\n1 2 3 4 5 6 7\r\n1 2 1e39 4";
    EXPECT_THROW(LoadGa(overflow), EOverflow);
    EXPECT_EQ(place(), expected(LoadStage::ScanBlock, 1, 1, 3, 37));

    EXPECT_THROW(LoadGa(testing::HeaderText() +
                        testing::BlockText(100, 1000, 4,
                                           [](int s, int i) {
                                               return s == 5 ? 1.0 * i
                                                             : 1000.0 +
                                                                   1000.0 / (1 + (i - 9) * (i - 9));
                                           })),
                 EInvalidOp);
    EXPECT_EQ(place(), expected(LoadStage::PeakLocation, 0, 5, -1, 0));

    EXPECT_THROW(LoadDcf("1 2\n3 1e999"), EOverflow);
    EXPECT_EQ(place(), expected(LoadStage::DcfFile, -1, -1, -1, 2));

    m_state.Controls.ManualGSGI = true;
    m_state.Controls.GsText = "one";
    EXPECT_THROW(LoadGa(testing::GaText(3)), EConvertError);
    EXPECT_EQ(place(), expected(LoadStage::SlopeFit, -1, -1, -1, 0));

    m_state.Controls.ManualGSGI = false;
    m_state.Controls.GsText = "1";
    LoadDcf(Dcf);
    EXPECT_EQ(place(), expected(LoadStage::None, -1, -1, -1, 0));
    LoadGa(testing::GaText(3));
    EXPECT_EQ(place(), expected(LoadStage::None, -1, -1, -1, 0));
}

}  // namespace
}  // namespace gatool
