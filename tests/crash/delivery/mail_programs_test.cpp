// The mail composer and mailto routes, through a stand-in for xdg-email and xdg-open that records
// its argument vector.
#include <gtest/gtest.h>

#include "crash/delivery/routes/mail_composer.h"
#include "crash/delivery/routes/mailto_link.h"
#include "crash/settings/base64.h"
#include "tests/crash/delivery/scratch_folder.h"
#include "tests/crash/delivery/stand_in_programs.h"

namespace kestrix {
namespace {

std::vector<std::string> Arguments(const nlohmann::json& start) {
    return start["arguments"].get<std::vector<std::string>>();
}

class MailProgramsTest : public testing::Test {
  protected:
    ScratchFolder m_scratch{"kestrix-mail-programs"};
    test::StandInPrograms m_programs{m_scratch.Path()};
};

TEST_F(MailProgramsTest, ComposerGetsEverythingAsSeparateArgumentsAndFilesUnderTheirNames) {
    const auto temporary = m_scratch.Path() / "temp";
    std::filesystem::create_directories(temporary);
    WriteFileText(temporary / "bugreport.txt", "the report");
    WriteFileText(temporary / "screenShot.png", "png bytes");
    const MailParameters mail{"Maintainer <dev@example.test>, ops@example.test",
                              "",
                              "bug report; $(reboot) `x`",
                              "please find\r\nthe bug report attached",
                              {{temporary / "bugreport.txt", "bugreport.txt", "BugReport", ""},
                               {temporary / "screenShot.png", "screenshot.png", "ScreenShot", ""}}};
    const RouteResult result = SendMapiMail(mail, temporary);
    ASSERT_TRUE(result.Sent) << result.Error;
    const auto starts = m_programs.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["program"], "xdg-email");
    const std::string staged = (temporary / "send-as").string();
    EXPECT_EQ(Arguments(starts[0]),
              (std::vector<std::string>{
                  "--utf8", "--subject", "bug report; $(reboot) `x`", "--body",
                  "please find\r\nthe bug report attached", "--attach", staged + "/bugreport.txt",
                  "--attach", staged + "/screenshot.png", "dev@example.test", "ops@example.test"}));
    EXPECT_EQ(DecodeBase64(starts[0]["files"][staged + "/screenshot.png"].get<std::string>()),
              "png bytes");
    EXPECT_EQ(DecodeBase64(starts[0]["files"][staged + "/bugreport.txt"].get<std::string>()),
              "the report");
}

TEST_F(MailProgramsTest, ComposerFailures) {
    m_programs.SetExitCode(3);
    RouteResult result = SendMapiMail({"dev@example.test", "", "s", "b", {}}, m_scratch.Path());
    EXPECT_FALSE(result.Sent);
    EXPECT_EQ(result.Error, "xdg-email ended with exit code 3");

    result = SendMapiMail({"--attach=/etc/shadow", "", "s", "b", {}}, m_scratch.Path());
    EXPECT_FALSE(result.Sent);
    EXPECT_NE(result.Error.find("invalid recipient"), std::string::npos);
    EXPECT_EQ(m_programs.Starts().size(), 1u);
}

TEST(MailtoLink, EncodedRecipientsSubjectAndBody) {
    const MailParameters mail{"Dev <dev@example.test>, ops+bugs@example.test",
                              "",
                              "bug report & more",
                              "line 1\r\n.\r\nü=100%",
                              {}};
    EXPECT_EQ(MailtoLink(mail),
              "mailto:dev@example.test,ops%2Bbugs@example.test"
              "?subject=bug%20report%20%26%20more"
              "&body=line%201%0D%0A.%0D%0A%C3%BC%3D100%25");
}

TEST(MailtoLink, CutWithinTheLimitBeforeAnIncompleteCharacter) {
    std::string body;
    for (int i = 0; i < 20000; ++i) {
        body += "ü";
    }
    const std::string link = MailtoLink({"dev@example.test", "", "s", body, {}});
    EXPECT_LE(link.size(), MailtoLengthLimit);
    EXPECT_GT(link.size(), MailtoLengthLimit - 6);
    EXPECT_TRUE(link.ends_with("%C3%BC")) << link.substr(link.size() - 10);
    for (std::size_t limit = 40; limit < 50; ++limit) {
        SCOPED_TRACE(limit);
        const std::string cut = MailtoLink({"a@b.test", "", "", "aü%b", {}}, limit);
        EXPECT_LE(cut.size(), limit);
        const std::string full = "mailto:a@b.test?subject=&body=a%C3%BC%25b";
        EXPECT_TRUE(full.starts_with(cut));
        const std::string rest = full.substr(cut.size());
        EXPECT_TRUE(rest.empty() || rest.starts_with("a") || rest.starts_with("%C3") ||
                    rest.starts_with("%25") || rest.starts_with("b"))
            << rest;
    }
}

TEST_F(MailProgramsTest, MailtoAndBrowserOpenWithOneArgument) {
    const MailParameters mail{"dev@example.test", "", "bug report", "a\r\nb; rm -rf ~", {}};
    ASSERT_TRUE(SendShellMail(mail).Sent);
    ASSERT_TRUE(OpenInBrowser("http://example.test/thanks?id=7&x='y'"));
    const auto starts = m_programs.Starts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[0]["program"], "xdg-open");
    EXPECT_EQ(Arguments(starts[0]), std::vector<std::string>{MailtoLink(mail)});
    EXPECT_EQ(Arguments(starts[1]),
              std::vector<std::string>{"http://example.test/thanks?id=7&x='y'"});
    m_programs.SetExitCode(4);
    EXPECT_EQ(SendShellMail(mail).Error, "xdg-open ended with exit code 4");
}

}  // namespace
}  // namespace kestrix
