// Tests of the GA reading loop and the scan blocks.
#include "data/ga_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

using testing::BlockText;
using testing::GaText;
using testing::HeaderText;
using testing::PeakCounts;

class GaReaderTest : public ::testing::Test {
  protected:
    GaReadSummary Read(const std::string& text) {
        InputStream in = InputStream::FromMemory(text);
        m_test->LastScan = -1;
        return ReadGaFile(*m_test, in, m_hooks);
    }

    std::unique_ptr<GaTest> m_test = std::make_unique<GaTest>();
    GaReadHooks m_hooks;
};

TEST_F(GaReaderTest, ReadsAsManyScansAsTheFileHasBlocks) {
    struct Case {
        std::string text;
        int lastScan;
    } const cases[] = {
        {GaText(3), 2},
        {GaText(3, "\n"), 2},
        {GaText(3, "\r"), 2},
        {GaText(3).substr(0, GaText(3).size() - 2), 2},  // no line end after the last count
        {GaText(3) + "\r\n\r\n\r\n", 2},
        {GaText(3) + "END OF TEST\r\n", 2},
        {GaText(3) + "DARK\r\n", 2},  // "DARK" without a number begins no block
        {GaText(0), -1},
        {HeaderText() + "garbage", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(c.text.size() > 40 ? c.text.size() - 40 : 0));
        const GaReadSummary summary = Read(c.text);
        EXPECT_EQ(m_test->LastScan, c.lastScan);
        EXPECT_FALSE(summary.MoreScansThanRecords);
    }
}

TEST_F(GaReaderTest, StoresPositionsAndCorrectedCountsOfEveryStep) {
    Read(HeaderText() + BlockText(100, 2000, 4));
    const ScanRecord& record = m_test->Scans[0];
    for (int i = 1; i <= StepCount; ++i) {
        EXPECT_EQ(record.StepPos[static_cast<std::size_t>(i)], 2000 + 4 * (i - 1));
        for (int s = 0; s < SlitCount; ++s) {
            // IntegrationTime 0.5, cy 4 and no dead time: the rate is raw - dark.
            EXPECT_FLOAT_EQ(record.Counts[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)],
                            static_cast<float>(testing::PeakCounts()(s, i) - 100));
        }
    }
    // Slot 0 and the slots beyond StepCount are never written.
    EXPECT_EQ(record.StepPos[0], 0);
    for (std::size_t i = StepCount + 1; i <= MaxSteps; ++i) {
        EXPECT_EQ(record.StepPos[i], 0);
        EXPECT_EQ(record.Counts[5][i], 0);
    }
}

TEST_F(GaReaderTest, LocatesAndShowsEverySlitOfEveryScanAsItIsRead) {
    std::vector<std::pair<int, int>> shown;
    int windowQueries = 0;
    m_hooks.ShowScan = [&](int scan, int slit) {
        // The peak is located before the scan is shown.
        EXPECT_EQ(
            m_test->Scans[static_cast<std::size_t>(scan)].PeakIndex[static_cast<std::size_t>(slit)],
            13);
        EXPECT_EQ(m_test->LastScan, scan);
        shown.emplace_back(scan, slit);
    };
    m_hooks.CurrentFitWindow = [&] {
        ++windowQueries;
        return FitWindow::FivePoint;
    };
    Read(GaText(2));
    ASSERT_EQ(shown.size(), 12u);
    EXPECT_EQ(shown.front(), std::make_pair(0, 0));
    EXPECT_EQ(shown[7], std::make_pair(1, 1));
    EXPECT_EQ(windowQueries, 12);
}

TEST_F(GaReaderTest, LoadsFiftyScansOfALongerFileAndSaysSo) {
    EXPECT_TRUE(Read(GaText(MaxScans + 3)).MoreScansThanRecords);
    EXPECT_EQ(m_test->LastScan, MaxScans - 1);
    EXPECT_FALSE(Read(GaText(MaxScans)).MoreScansThanRecords);
    EXPECT_EQ(m_test->LastScan, MaxScans - 1);
}

TEST_F(GaReaderTest, LeavesRecordsBeyondAShorterFileAsTheLongerOneLeftThem) {
    Read(GaText(10));
    const ScanRecord recordSeven = m_test->Scans[7];
    Read(HeaderText() + BlockText(100, 5000, 2) + BlockText(100, 5010, 2) +
         BlockText(100, 5020, 2));
    EXPECT_EQ(m_test->LastScan, 2);
    EXPECT_EQ(m_test->Scans[0].StepPos[1], 5000);
    EXPECT_EQ(m_test->Scans[7].StepPos, recordSeven.StepPos);
    EXPECT_EQ(m_test->Scans[7].PeakPos, recordSeven.PeakPos);
}

TEST_F(GaReaderTest, RefusesABlockThatBreaksOffAndKeepsTheScansBeforeIt) {
    const std::string full = GaText(3);
    // Cut in the middle of the fifth step line of the third block.
    const std::size_t thirdBlock = full.find("DARK", full.find("DARK", full.find("DARK") + 1) + 1);
    std::size_t cut = thirdBlock;
    for (int line = 0; line < 5; ++line) {
        cut = full.find('\n', cut) + 1;
    }
    cut += 10;
    for (const std::string& text : {full.substr(0, cut), full.substr(0, cut) + " x 1 2 3"}) {
        try {
            Read(text);
            ADD_FAILURE() << "no error";
        } catch (const EFileFormatError& error) {
            EXPECT_STREQ(error.what(),
                         "The GA file breaks off in scan 2 at step 5 of 25 (line 65): a step "
                         "position or count there is missing or is not a number.");
        }
        EXPECT_EQ(m_test->LastScan, 2);
        EXPECT_EQ(m_test->Scans[1].PeakIndex[0], 13);
    }
}

TEST_F(GaReaderTest, EndsTheLoadAtAPeakThatCannotBeLocated) {
    // Scan 1 rises steadily: its largest count lies at the last step.
    const std::string text = HeaderText() + BlockText(100, 1000, 4) +
                             BlockText(100, 1010, 4, [](int, int i) { return 1000.0 + i; }) +
                             BlockText(100, 1020, 4);
    EXPECT_THROW(Read(text), EInvalidOp);
    EXPECT_EQ(m_test->LastScan, 1);
}

TEST_F(GaReaderTest, EndsTheLoadAtACountBeyondTheSingleRange) {
    const std::string text = HeaderText() + BlockText(100, 1000, 4, [](int s, int i) {
                                 return s == 3 && i == 7 ? 1e39 : 10.0;
                             });
    EXPECT_THROW(Read(text), EOverflow);
    EXPECT_EQ(m_test->LastScan, 0);
}

TEST_F(GaReaderTest, TakesManyMegabytesOfAnyContentWithoutHangingOrWritingPastTheRecords) {
    constexpr std::size_t Size = 8 << 20;
    std::string noise(Size, '\0');
    std::uint32_t state = 12345;
    for (char& byte : noise) {
        state = state * 1664525 + 1013904223;
        byte = static_cast<char>(state >> 24);
    }
    // A count of eight million digits overflows the single it is read into.
    EXPECT_THROW(Read(HeaderText() + "DARK 1\r\n1000 " + std::string(Size, '9')), EOverflow);
    // A count with eight million zeros after the point reads as 0.
    const std::string tinyRaw = "0." + std::string(Size, '0') + "1";
    EXPECT_THROW(Read(HeaderText() + "DARK 0\r\n1000 " + tinyRaw), EFileFormatError);
    Read(HeaderText() + std::string(Size, ' '));
    EXPECT_EQ(m_test->LastScan, -1);
    Read(noise);
    EXPECT_EQ(m_test->LastScan, -1);
    Read(HeaderText() + noise);
    EXPECT_EQ(m_test->LastScan, -1);
}

// Lines: 7 of the header, then 26 per block (the "DARK" line and 25 step lines).
constexpr int HeaderLines = 7;
constexpr int BlockLines = 1 + StepCount;

TEST_F(GaReaderTest, SaysAfterWhichLineTheFileGoesOnUnread) {
    std::string nanSecondDark = GaText(3);
    nanSecondDark.replace(nanSecondDark.find("DARK", nanSecondDark.find("DARK") + 1) + 5, 3, "nan");
    struct Case {
        const char* name;
        std::string text;
        int lastScan;
        std::optional<int> unreadAfterLine;
    } const cases[] = {
        {"whole file", GaText(3), 2, std::nullopt},
        {"trailing line ends and blanks", GaText(3) + "\r\n \r\n\t\n", 2, std::nullopt},
        {"nan as a dark count", nanSecondDark, 0, HeaderLines + BlockLines},
        {"text after the last block", GaText(2) + "\r\n\r\nEND", 1,
         HeaderLines + 2 * BlockLines + 2},
        {"text after the last count on its line",
         GaText(1).substr(0, GaText(1).size() - 2) + " end", 0, HeaderLines + BlockLines - 1},
        {"DARK without a number", GaText(1) + "DARK\r\n", 0, HeaderLines + BlockLines},
        {"a malformed dark count that ends the file", GaText(1) + "DARK 1e", 0,
         HeaderLines + BlockLines},
        {"hexadecimal dead time",
         "Integration time is 0.5 seconds per sample\r\ndt 0x1p3\r\ncy "
         "4\r\n" +
             BlockText(100, 1000, 4),
         -1, 2},
        {"blocks beyond the records", GaText(MaxScans + 1), MaxScans - 1,
         HeaderLines + MaxScans * BlockLines},
        {"header only", HeaderText(), -1, std::nullopt},
        {"empty", "", -1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GaReadSummary summary = Read(c.text);
        EXPECT_EQ(m_test->LastScan, c.lastScan);
        EXPECT_EQ(summary.UnreadAfterLine, c.unreadAfterLine);
    }
}

TEST_F(GaReaderTest, SkipsAUtf8ByteOrderMarkAndRefusesUtf16Text) {
    Read("\xEF\xBB\xBF" + GaText(2));
    EXPECT_EQ(m_test->LastScan, 1);
    EXPECT_EQ(m_test->Header.IntegrationTime, 0.5);

    std::string utf16;
    for (const char c : GaText(2)) {
        utf16 += c;
        utf16 += '\0';
    }
    m_test->LastScan = -1;
    EXPECT_THROW(Read(utf16), EFileFormatError);
    EXPECT_EQ(m_test->LastScan, -1);
}

TEST_F(GaReaderTest, KeepsThePlaceOfTheReadingUpToDate) {
    LoadPlace place;
    m_hooks.Place = &place;
    const auto overflowAt = [](int slit, int step) {
        return [slit, step](int s, int i) {
            return s == slit && i == step ? 1e30 : PeakCounts()(s, i);
        };
    };
    struct Case {
        const char* name;
        std::string text;
        LoadPlace expected;
    } const cases[] = {
        {"dead-time correction",
         HeaderText("\r\n", "1e-9") + BlockText(100, 1000, 4) +
             BlockText(100, 1010, 4, overflowAt(3, 5)),
         {LoadStage::DeadTimeCorrection, 1, 3, 5, 0}},
        {"a position beyond the single range",
         HeaderText() + BlockText(100, 1000, 4) + "DARK 1\r\n1e39",
         {LoadStage::ScanBlock, 1, -1, 1, 0}},
        {"peak location",
         HeaderText() +
             BlockText(100, 1000, 4, [](int s, int i) { return s == 4 ? i : PeakCounts()(s, i); }),
         {LoadStage::PeakLocation, 0, 4, -1, 0}},
        {"date", "dt 0\r\ncy 4\r\ndh 31 2 7\r\n", {LoadStage::Header, -1, -1, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place.Line = 0;
        EXPECT_THROW(Read(c.text), Exception);
        EXPECT_EQ(place.Stage, c.expected.Stage);
        EXPECT_EQ(place.Scan, c.expected.Scan);
        EXPECT_EQ(place.Slit, c.expected.Slit);
        EXPECT_EQ(place.Step, c.expected.Step);
        EXPECT_EQ(place.Line, 0);  // the stream's holder fills it in
    }
}

}  // namespace
}  // namespace gatool
