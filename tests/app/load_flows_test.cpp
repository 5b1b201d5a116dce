// Tests of the load flows and the slope refresh without a window.
#include "app/load_flows.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/exceptions.h"
#include "numtext/number_marks.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

class LoadFlowsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetNumberMarks(".", ","); }

    void LoadGa(const std::string& text) {
        InputStream in = InputStream::FromMemory(text);
        LoadGaFile(m_state, in, m_hooks, m_outcome);
    }

    void LoadDcf(const std::string& text) {
        InputStream in = InputStream::FromMemory(text);
        LoadDcfFile(m_state, in);
    }

    ToolState m_state;
    GaReadHooks m_hooks;
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

TEST_F(LoadFlowsTest, ShowsEveryScanAsItIsReadAndThenSlitOneOfScanZero) {
    std::vector<std::pair<int, int>> shown;
    m_hooks.ShowScan = [&](int scan, int slit) { shown.emplace_back(scan, slit); };
    LoadGa(testing::GaText(2));
    ASSERT_EQ(shown.size(), 13u);
    EXPECT_EQ(shown.back(), std::make_pair(0, 1));
}

TEST_F(LoadFlowsTest, SimulatesWithADcfFileLoadedInEitherOrder) {
    LoadDcf(Dcf);
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
    bool shown = false;
    m_hooks.ShowScan = [&](int, int) { shown = true; };
    LoadGa(testing::HeaderText());
    EXPECT_EQ(m_state.Test->LastScan, -1);
    EXPECT_EQ(m_state.SlopeFit->Source, GsGiSource::NoScans);
    EXPECT_FALSE(m_state.SlopeFit->Line.has_value());
    EXPECT_FALSE(shown);
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

}  // namespace
}  // namespace gatool
