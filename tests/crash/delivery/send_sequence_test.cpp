// The send of a failure's report over its routes, against aiosmtpd, the Python upload server and
// the recording stand-ins for xdg-email and xdg-open.
#include "crash/delivery/send_sequence.h"

#include <gtest/gtest.h>

#include "crash/delivery/automatic_actions.h"
#include "crash/delivery/background_sends.h"
#include "crash/delivery/bug_report_saving.h"
#include "crash/delivery/delivery_state.h"
#include "crash/delivery/routes/online_state.h"
#include "crash/settings/base64.h"
#include "tests/crash/delivery/failure_scene.h"
#include "tests/crash/delivery/mail_reading.h"
#include "tests/crash/delivery/peer_process.h"
#include "tests/crash/delivery/recording_windows.h"
#include "tests/crash/delivery/stand_in_programs.h"

namespace kestrix {
namespace {

TEST(SendSequence, ReportVariablesAndSender) {
    const std::string report = ReportText{}.Text();
    EXPECT_EQ(WithReportVariables("bug: %EXCEPTMSG% / %exceptMsg%", report),
              "bug: bad number / bad number");
    EXPECT_EQ(WithReportVariables("%BugReport%!", report), report + "!");
    EXPECT_EQ(WithReportVariables("%exceptMsg%", "no header"), "Unknown");

    const auto failure = test::FailureWithReport(report);
    failure->SetMailAddr("Dev <dev@example.test>, ops@example.test");
    failure->SetMailSubj("bug report: %exceptMsg%");
    failure->SetMailBody("please find the bug report attached");
    EXPECT_EQ(MailParametersOf(*failure, report).Sender, "Kestrix <dev@example.test>");
    EXPECT_EQ(MailParametersOf(*failure, report).Subject, "bug report: bad number");
    failure->SetMailFrom("Operator <op@example.test>");
    EXPECT_EQ(MailParametersOf(*failure, report).Sender, "Operator <op@example.test>");
    failure->SetMailFrom("");
    failure->SetMailAddr("");
    EXPECT_EQ(MailParametersOf(*failure, report).Sender, "");
}

class SendSequenceTest : public testing::Test {
  protected:
    SendSequenceTest() {
        m_failure->SetMailAddr("dev@example.test");
        m_failure->SetMailSubj("bug report: %exceptMsg%");
        m_failure->SetMailBody("please find the bug report attached");
        m_failure->SetMailFrom("");
        m_failure->SetSendInBackgr(false);
        for (const char* route : {"MailAsSmtpServer", "MailAsSmtpClient", "UploadViaHttp",
                                  "MailViaMapi", "MailViaMailto"}) {
            m_failure->SetBool(route, false);
        }
        m_failure->SetAttachBugRep(true);
        m_failure->SetAttachBugRepFile(true);
        m_failure->SetDelBugRepFile(true);
        m_failure->SetBugRepSendAs("bugreport.txt");
        m_failure->SetBugRepZip("");
        m_failure->SetAddAttachs("");
        m_failure->SetBugRepFile((m_scratch.Path() / "saved" / "bugreport.txt").string());
        m_failure->SetSendBoxTitle("Sending bug report...");
        m_failure->SetSendFailMsg("Sorry, sending the bug report didn't work.");
        m_failure->SetScrShotDepth(8);
        m_failure->SetScrShotSendAs("screenshot.png");
        m_failure->SetScrShotZip("");
    }

    test::PeerProcess StartSmtpPeer() {
        return test::PeerProcess(
            {"/usr/bin/python3", test::PeerScript("smtp_peer.py"), m_scratch.Path().string()});
    }

    void UseSmtpClient(int port) {
        m_failure->SetMailAsSmtpClient(true);
        m_failure->SetSmtpServer("127.0.0.1");
        m_failure->SetSmtpPort(port);
    }

    std::filesystem::path SavedFile() const { return m_scratch.Path() / "saved" / "bugreport.txt"; }

    ScratchFolder m_scratch{"kestrix-send"};
    test::RuntimeFolderIn m_runtime{m_scratch.Path()};
    test::StandInPrograms m_programs{m_scratch.Path()};
    std::shared_ptr<IKXException> m_failure = test::FailureWithReport(ReportText{}.Text());
    std::shared_ptr<test::RecordingWindows> m_windows = std::make_shared<test::RecordingWindows>();
};

TEST_F(SendSequenceTest, SmtpClientCarriesTheSavedFileWhichIsDeletedAfterwards) {
    if (!AmOnline()) {
        GTEST_SKIP() << "the computer has no default route, so the network routes are skipped";
    }
    const auto peer = StartSmtpPeer();
    UseSmtpClient(peer.Port());
    const ReportText earlier{.Checksums = "$AAAAAAAA, $BBBBBBBB, $CCCCCCCC"};
    std::filesystem::create_directories(SavedFile().parent_path());
    WriteFileText(SavedFile(), earlier.Text() + "\r\n\r\n");
    ASSERT_TRUE(AutoSaveBugReport(*m_failure));
    const RgbImage screenshot{2, 1, {{255, 0, 0}, {0, 0, 255}}};

    ASSERT_TRUE(SendBugReport(m_failure, screenshot, m_windows));
    EXPECT_TRUE(IsMarked(m_failure, dmSent));
    EXPECT_FALSE(std::filesystem::exists(SavedFile()));
    EXPECT_EQ(m_windows->ProgressTitle, "Sending bug report...");
    std::vector<TSendStage> steps;
    for (const auto& step : m_windows->ProgressSteps) {
        steps.push_back(step.Stage);
    }
    EXPECT_EQ(steps, (std::vector<TSendStage>{ssPrepareAttachments, ssConnect, ssAuthenticate,
                                              ssSendMail, ssSendAttachments, ssFinalize}));
    EXPECT_EQ(m_windows->Stages,
              (std::vector<TSendStage>{ssPrepareAttachments, ssConnect, ssAuthenticate, ssSendMail,
                                       ssSendAttachments, ssFinalize}));
    EXPECT_FALSE(m_windows->ProgressOpen);
    EXPECT_TRUE(m_windows->Failures.empty());

    const auto mail = test::ReadMail(m_scratch.Path() / "message-1.eml");
    EXPECT_EQ(mail["headers"]["subject"], "bug report: bad number");
    EXPECT_EQ(mail["headers"]["from"], "Kestrix <dev@example.test>");
    ASSERT_EQ(mail["attachments"].size(), 2u);
    EXPECT_EQ(DecodeBase64(mail["attachments"][0]["data"].get<std::string>()),
              earlier.Text() + "\r\n\r\n" + ReportText{}.Text() + "\r\n\r\n");
    EXPECT_EQ(mail["attachments"][1]["filename"], "screenshot.png");
    EXPECT_TRUE(m_programs.Starts().empty());

    // Sent: the automatic save that waits for a failed send does nothing.
    m_failure->SetAutoSave(true);
    m_failure->SetAutoSaveIfNotSent(true);
    m_failure->SetSavedReportFile("");
    RunHandlingEndActions(m_failure);
    EXPECT_FALSE(std::filesystem::exists(SavedFile()));
}

TEST_F(SendSequenceTest, FailedRoutesFallBackToTheComposerThenToMailto) {
    m_failure->SetMailViaMapi(true);
    m_failure->SetMailViaMailto(true);
    UseSmtpClient(1);  // nothing listens there
    m_programs.SetExitCode(0);
    ASSERT_TRUE(SendBugReport(m_failure, std::nullopt, m_windows));
    auto starts = m_programs.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["program"], "xdg-email");
    const auto arguments = starts[0]["arguments"].get<std::vector<std::string>>();
    ASSERT_EQ(arguments.size(), 8u);
    EXPECT_EQ(arguments[5], "--attach");
    EXPECT_EQ(DecodeBase64(starts[0]["files"][arguments[6]].get<std::string>()),
              ReportText{}.Text() + "\r\n\r\n");
    EXPECT_EQ(arguments.back(), "dev@example.test");
    EXPECT_TRUE(IsMarked(m_failure, dmSent));

    // The composer fails, and so does the mailto link: the failure message.
    m_programs.SetExitCode(4);
    EXPECT_FALSE(SendBugReport(m_failure, std::nullopt, m_windows));
    starts = m_programs.Starts();
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[2]["program"], "xdg-open");
    const std::string link = starts[2]["arguments"][0];
    EXPECT_TRUE(
        link.starts_with("mailto:dev@example.test?subject=bug%20report%3A%20bad%20number"
                         "&body=date%2Ftime"))
        << link;
    EXPECT_EQ(m_windows->Failures,
              std::vector<std::string>{"Sorry, sending the bug report didn't work."});
}

TEST_F(SendSequenceTest, SilentSendUsesNoRouteThatNeedsTheUserAndShowsNothing) {
    m_failure->SetMailViaMapi(true);
    m_failure->SetMailViaMailto(true);
    EXPECT_FALSE(RunSend(m_failure, std::nullopt, {true, false, m_windows.get()}));
    EXPECT_TRUE(m_programs.Starts().empty());
    EXPECT_TRUE(m_windows->Failures.empty());
    EXPECT_TRUE(m_windows->ProgressSteps.empty());
}

TEST_F(SendSequenceTest, BackgroundSendReturnsAtOnceAndIsWaitedFor) {
    if (!AmOnline()) {
        GTEST_SKIP() << "the computer has no default route, so the network routes are skipped";
    }
    const auto peer = StartSmtpPeer();
    UseSmtpClient(peer.Port());
    m_failure->SetSendInBackgr(true);
    ASSERT_TRUE(SendBugReport(m_failure, std::nullopt, m_windows));
    WaitForBackgroundSends();
    EXPECT_TRUE(IsMarked(m_failure, dmSent));
    EXPECT_TRUE(std::filesystem::exists(m_scratch.Path() / "message-1.eml"));
}

TEST_F(SendSequenceTest, AutomaticActionsRunOncePerFailure) {
    m_failure->SetAutoSend(true);
    m_failure->SetAutoSendBox(false);
    m_failure->SetAutoClip(true);
    m_failure->SetAutoSave(true);
    m_failure->SetAutoSaveIfNotSent(true);
    m_failure->SetMailViaMailto(true);
    RunReportCompleteActions(m_failure, std::nullopt, m_windows);
    RunReportCompleteActions(m_failure, std::nullopt, m_windows);
    RunHandlingEndActions(m_failure);
    RunHandlingEndActions(m_failure);
    // The automatic send is silent: no mailto link, nothing sent, so the report is saved once.
    EXPECT_TRUE(m_programs.Starts().empty());
    EXPECT_EQ(m_windows->Clipboard, ReportText{}.Text());
    EXPECT_EQ(ReadFileText(SavedFile()), ReportText{}.Text() + "\r\n\r\n");
    EXPECT_TRUE(m_windows->ProgressSteps.empty());
}

TEST_F(SendSequenceTest, UploadRedirectOpensTheBrowserAndCountsAsSent) {
    if (!AmOnline()) {
        GTEST_SKIP() << "the computer has no default route, so the network routes are skipped";
    }
    const test::PeerProcess peer({"/usr/bin/python3", test::PeerScript("http_peer.py"),
                                  m_scratch.Path().string(), "--status", "302", "--location",
                                  "http://example.test/thanks"});
    m_failure->SetUploadViaHttp(true);
    m_failure->SetHttpServer("http://127.0.0.1/bugs");
    m_failure->SetHttpPort(peer.Port());
    m_failure->SetAddFields("Product=gatool|Build=7");
    ASSERT_TRUE(SendBugReport(m_failure, std::nullopt, m_windows));
    const auto starts = m_programs.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["arguments"], nlohmann::json::array({"http://example.test/thanks"}));
    const auto request =
        nlohmann::json::parse(ReadFileText(m_scratch.Path() / "request-1.json"), nullptr, false);
    std::vector<std::string> names;
    for (const auto& part : request["form"]) {
        names.push_back(part["name"]);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Product", "Build", "MailFrom", "BugReport"}));
    std::vector<TSendStage> steps;
    for (const auto& step : m_windows->ProgressSteps) {
        steps.push_back(step.Stage);
    }
    EXPECT_EQ(steps, (std::vector<TSendStage>{ssPrepareAttachments, ssConnect, ssSetFields,
                                              ssSendAttachments, ssFinalize}));
}

}  // namespace
}  // namespace kestrix
