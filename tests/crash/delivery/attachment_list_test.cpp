// The attachments of a send as files in the temporary folder.
#include "crash/delivery/attachments/attachment_list.h"

#include <gtest/gtest.h>

#include "crash/delivery/file/report_file_fields.h"
#include "crash/settings/module_settings.h"
#include "crash/settings/settings_overlay.h"
#include "tests/crash/delivery/child_program.h"
#include "tests/crash/delivery/png_decoding.h"
#include "tests/crash/delivery/report_texts.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

class AttachmentListTest : public testing::Test {
  protected:
    AttachmentListTest() : m_settings(KXSettings()) {
        m_settings.SetBugRepFile("bugreport.txt");
        m_settings.SetBugRepSendAs("bugreport.txt");
        m_settings.SetAttachBugRep(true);
        m_settings.SetAttachBugRepFile(true);
        m_settings.SetDelBugRepFile(true);
        m_settings.SetAppendBugReps(true);
        m_settings.SetNoDupExcepts(true);
        m_settings.SetDupExceptDef(1);
        m_settings.SetBugRepFileSize(0);
        m_settings.SetScrShotDepth(8);
        m_settings.SetScrShotSendAs("screenshot.png");
        std::filesystem::create_directories(Temporary());
        WriteFileText(Saved(), m_earlier.Text() + "\r\n\r\n");
    }

    std::filesystem::path Temporary() const { return m_scratch.Path() / "temp"; }
    std::filesystem::path Saved() const { return m_scratch.Path() / "saved.txt"; }

    ScratchFolder m_scratch{"kestrix-attachments"};
    SettingsOverlay m_settings;
    ReportText m_earlier{.Checksums = "$AAAAAAAA, $BBBBBBBB, $CCCCCCCC"};
    ReportText m_current;
};

TEST_F(AttachmentListTest, ReportFileCopyCarriesEarlierReportsAndTheCurrentOne) {
    const auto prepared =
        PrepareAttachments({m_current.Text(), {}, Saved(), false}, m_settings, Temporary());
    ASSERT_EQ(prepared.Files.size(), 1u);
    EXPECT_EQ(prepared.Files[0],
              (Attachment{Temporary() / "bugreport.txt", "bugreport.txt", "BugReport", ""}));
    EXPECT_EQ(ReadFileText(prepared.Files[0].File),
              m_earlier.Text() + "\r\n\r\n" + m_current.Text() + "\r\n\r\n");
    EXPECT_EQ(prepared.DeleteAfterSend, Saved());
    EXPECT_EQ(ReadFileText(Saved()), m_earlier.Text() + "\r\n\r\n");
}

TEST_F(AttachmentListTest, ReportAlreadySavedIsNotAddedOrCountedAgain) {
    WriteFileText(Saved(), m_current.Text() + "\r\n\r\n");
    const auto prepared =
        PrepareAttachments({m_current.Text(), {}, Saved(), true}, m_settings, Temporary());
    ASSERT_EQ(prepared.Files.size(), 1u);
    EXPECT_EQ(ReadFileText(prepared.Files[0].File), m_current.Text() + "\r\n\r\n");
}

TEST_F(AttachmentListTest, DeletionIsArmedOnlyByACopyWhenAskedFor) {
    const struct {
        const char* Name;
        bool AttachFile;
        bool Delete;
        bool SavedExists;
        bool Armed;
    } cases[] = {{"copy and delete", true, true, true, true},
                 {"kept", true, false, true, false},
                 {"current report only", false, true, true, false},
                 {"no saved file", true, true, false, false}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        m_settings.SetAttachBugRepFile(test.AttachFile);
        m_settings.SetDelBugRepFile(test.Delete);
        const auto saved = test.SavedExists ? Saved() : m_scratch.Path() / "none.txt";
        const auto prepared =
            PrepareAttachments({m_current.Text(), {}, saved, false}, m_settings, Temporary());
        EXPECT_EQ(prepared.DeleteAfterSend.has_value(), test.Armed);
        ASSERT_EQ(prepared.Files.size(), 1u);
        EXPECT_EQ(ReportSpans(ReadFileText(prepared.Files[0].File)).size(),
                  test.AttachFile && test.SavedExists ? 2u : 1u);
    }
}

TEST_F(AttachmentListTest, ScreenshotAndExtraFilesFollowAndShareAZip) {
    const auto extra = m_scratch.Path() / "settings.ini";
    WriteFileText(extra, "[a]\nb=c\n");
    m_settings.SetBugRepZip("report.zip");
    m_settings.SetAddAttachs(extra.string() + ">program.ini>report.zip>Settings|" +
                             (m_scratch.Path() / "missing").string() + ">m>>M|" + extra.string() +
                             ">>>Plain");
    const RgbImage screenshot{2, 2, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
    const auto prepared =
        PrepareAttachments({m_current.Text(), screenshot, Saved(), false}, m_settings, Temporary());
    ASSERT_EQ(prepared.Files.size(), 3u);
    EXPECT_EQ(prepared.Files[0],
              (Attachment{Temporary() / "report.zip", "report.zip", "BugReport", ""}));
    EXPECT_EQ(prepared.Files[1],
              (Attachment{Temporary() / "screenShot.png", "screenshot.png", "ScreenShot", ""}));
    EXPECT_EQ(prepared.Files[2], (Attachment{extra, "settings.ini", "Plain", ""}));
    const auto png = test::DecodePng(ReadFileText(prepared.Files[1].File));
    EXPECT_EQ(png.Image.Width, 2);
    EXPECT_EQ(png.Image.Palette.size(), 4u);
    const auto listing = test::RunChild({"unzip", "-l", prepared.Files[0].File.string()});
    EXPECT_EQ(listing.ExitCode, 0) << listing.Output;
    EXPECT_NE(listing.Output.find("bugreport.txt"), std::string::npos) << listing.Output;
    EXPECT_NE(listing.Output.find("program.ini"), std::string::npos) << listing.Output;
    EXPECT_FALSE(std::filesystem::exists(Temporary() / "bugreport.txt") &&
                 std::filesystem::exists(Temporary() / "program.ini"));
}

}  // namespace
}  // namespace kestrix
