// A failure's saves: the dialog, the automatic save, and one failure saved once.
#include "crash/delivery/bug_report_saving.h"

#include <gtest/gtest.h>

#include "crash/delivery/file/report_file_fields.h"
#include "crash/delivery/file/report_file_location.h"
#include "tests/crash/delivery/failure_scene.h"
#include "tests/crash/delivery/recording_windows.h"

namespace kestrix {
namespace {

class BugReportSavingTest : public testing::Test {
  protected:
    ScratchFolder m_scratch{"kestrix-failure-saving"};
    std::shared_ptr<IKXException> m_failure = test::FailureWithReport(ReportText{}.Text());
    test::RecordingWindows m_windows;
};

TEST_F(BugReportSavingTest, DialogChoosesTheFileAndTheSameFailureIsNotSavedAgain) {
    const auto file = m_scratch.Path() / "chosen" / "report.txt";
    m_windows.Choice = file;
    ASSERT_TRUE(SaveBugReport(*m_failure, m_windows));
    ASSERT_TRUE(SaveBugReport(*m_failure, m_windows));
    ASSERT_TRUE(AutoSaveBugReport(*m_failure));
    EXPECT_EQ(ReadFileText(file), ReportText{}.Text() + "\r\n\r\n");
    EXPECT_EQ(m_failure->SavedReportFile(), file.string());
    ASSERT_EQ(m_windows.Dialogs.size(), 2u);
    EXPECT_EQ(m_windows.Dialogs[0], ExecutableFolder().string() + "|bugreport.txt|Save bug report");

    // Another failure of the same place is counted.
    const auto other = test::FailureWithReport(ReportText{}.Text());
    ASSERT_TRUE(SaveBugReport(*other, m_windows));
    EXPECT_EQ(ReportFieldValue(ReadFileText(file), "count"), "2");
}

TEST_F(BugReportSavingTest, CancelledDialogWritesNothing) {
    EXPECT_FALSE(SaveBugReport(*m_failure, m_windows));
    EXPECT_EQ(m_failure->SavedReportFile(), "");
}

TEST_F(BugReportSavingTest, AbsoluteNameNeedsNoDialog) {
    const auto file = m_scratch.Path() / "reports" / "gatool.txt";
    m_failure->SetBugRepFile(file.string());
    ASSERT_TRUE(SaveBugReport(*m_failure, m_windows));
    EXPECT_TRUE(m_windows.Dialogs.empty());
    EXPECT_EQ(ReadFileText(file), ReportText{}.Text() + "\r\n\r\n");
    EXPECT_EQ(SavedReportFileOf(*m_failure), file);
}

TEST_F(BugReportSavingTest, ReportSavedBeforeTheBoxIsNotAddedByTheOperatorsSave) {
    const auto file = m_scratch.Path() / "gatool.txt";
    m_failure->SetBugRepFile(file.string());
    ASSERT_TRUE(AutoSaveBugReport(*m_failure));
    ASSERT_TRUE(SaveBugReport(*m_failure, m_windows));
    EXPECT_EQ(ReadFileText(file), ReportText{}.Text() + "\r\n\r\n");
}

}  // namespace
}  // namespace kestrix
