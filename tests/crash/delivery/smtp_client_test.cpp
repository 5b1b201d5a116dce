// The SMTP route against aiosmtpd on 127.0.0.1: the dialogue, and the message as a standard MIME
// parser reads it.
#include "crash/delivery/routes/smtp_client.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "crash/settings/base64.h"
#include "tests/crash/delivery/mail_reading.h"
#include "tests/crash/delivery/peer_process.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

std::string ComputerName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

bool AllDigits(const std::string& text, std::size_t minimum, std::size_t maximum) {
    return text.size() >= minimum && text.size() <= maximum &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "Date: d[d] Mon yyyy hh:mm:ss UT".
bool IsMailDateLine(const std::string& line) {
    std::istringstream words(line);
    std::string field, day, month, year, time, zone, rest;
    words >> field >> day >> month >> year >> time >> zone;
    const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    return field == "Date:" && AllDigits(day, 1, 2) && month.size() == 3 &&
           months.find(month) % 3 == 0 && months.find(month) != std::string::npos &&
           AllDigits(year, 4, 4) && time.size() == 8 && AllDigits(time.substr(0, 2), 2, 2) &&
           time[2] == ':' && AllDigits(time.substr(3, 2), 2, 2) && time[5] == ':' &&
           AllDigits(time.substr(6, 2), 2, 2) && zone == "UT" && !(words >> rest);
}

// Records the stages the route reports.
class StageRecorder final : public ISendProgress {
  public:
    void Stage(TSendStage stage) override { Stages.push_back(stage); }
    std::vector<TSendStage> Stages;
};

class SmtpClientTest : public testing::Test {
  protected:
    test::PeerProcess StartPeer(std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{"/usr/bin/python3", test::PeerScript("smtp_peer.py"),
                                           m_scratch.Path().string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return test::PeerProcess(arguments);
    }

    SmtpServer Server(const test::PeerProcess& peer,
                      std::string account = "",
                      std::string password = "") {
        return {"127.0.0.1", static_cast<std::uint16_t>(peer.Port()), std::move(account),
                std::move(password), std::chrono::milliseconds(7000)};
    }

    // The peer keeps the file open for appending: emptied, not removed.
    void ClearDialogue() const {
        std::ofstream(m_scratch.Path() / "dialogue.txt", std::ios::trunc);
    }

    std::filesystem::path Message(int number) const {
        return m_scratch.Path() / ("message-" + std::to_string(number) + ".eml");
    }

    ScratchFolder m_scratch{"kestrix-smtp"};
    StageRecorder m_progress;
};

TEST_F(SmtpClientTest, MailWithAttachmentsThroughALoginServer) {
    const auto peer = StartPeer({"--auth", "reporter:s3cret"});
    const std::string report = "date/time : now\r\n.\r\n..two dots\r\n.\r\nend";
    std::string picture = "\x89PNG\r\n\x1a\n";
    for (int i = 0; i < 300; ++i) {
        picture.push_back(static_cast<char>(i * 7));
    }
    WriteFileText(m_scratch.Path() / "bugreport.txt", report);
    WriteFileText(m_scratch.Path() / "screenShot.png", picture);
    MailParameters mail{
        "Maintainer <dev@example.test>, ops@example.test",
        "Operator Ünal <op@example.test>",
        "bug report: Floating point division by zero ü",
        "please find the bug report attached\r\n.\r\nbye",
        {{m_scratch.Path() / "bugreport.txt", "bugreport.txt", "BugReport", ""},
         {m_scratch.Path() / "screenShot.png", "screenshot.png", "ScreenShot", ""}}};
    const RouteResult result = SendSmtpMail(mail, Server(peer, "reporter", "s3cret"), m_progress);
    ASSERT_TRUE(result.Sent) << result.Error;
    EXPECT_EQ(test::DialogueLines(m_scratch.Path()),
              (std::vector<std::string>{
                  "EHLO " + ComputerName(), "AUTH LOGIN", "(authenticated LOGIN reporter:s3cret)",
                  "MAIL FROM:<op@example.test>", "RCPT TO:<dev@example.test>",
                  "RCPT TO:<ops@example.test>", "DATA",
                  "(message for dev@example.test,ops@example.test)", "QUIT"}));
    EXPECT_EQ(m_progress.Stages, (std::vector<TSendStage>{ssConnect, ssAuthenticate, ssSendMail,
                                                          ssSendAttachments, ssFinalize}));

    const auto parsed = test::ReadMail(Message(1));
    ASSERT_TRUE(parsed.is_object());
    EXPECT_TRUE(parsed["defects"].empty()) << parsed.dump();
    EXPECT_EQ(parsed["headers"]["to"], "Maintainer <dev@example.test>, ops@example.test");
    EXPECT_EQ(parsed["headers"]["from"], "Operator Ünal <op@example.test>");
    EXPECT_EQ(parsed["headers"]["subject"], "bug report: Floating point division by zero ü");
    EXPECT_TRUE(parsed["headers"]["message-id"].get<std::string>().ends_with("@Kestrix>"));
    EXPECT_NE(parsed["headers"]["date"], nullptr);
    EXPECT_TRUE(parsed["multipart"]);
    EXPECT_EQ(parsed["body"], "please find the bug report attached\n.\nbye");
    ASSERT_EQ(parsed["attachments"].size(), 2u);
    EXPECT_EQ(parsed["attachments"][0]["filename"], "bugreport.txt");
    EXPECT_EQ(parsed["attachments"][0]["type"], "application/octet-stream");
    EXPECT_EQ(DecodeBase64(parsed["attachments"][0]["data"].get<std::string>()), report);
    EXPECT_EQ(parsed["attachments"][1]["filename"], "screenshot.png");
    EXPECT_EQ(parsed["attachments"][1]["type"], "image/png");
    EXPECT_EQ(DecodeBase64(parsed["attachments"][1]["data"].get<std::string>()), picture);
}

TEST_F(SmtpClientTest, HeloWhenEhloIsRefusedAndLinesOfDotsArriveIntact) {
    const auto peer = StartPeer({"--no-ehlo"});
    const std::string body = ".\r\n..\r\n.leading\r\nmiddle . \r\n.";
    const RouteResult result =
        SendSmtpMail({"dev@example.test", "", "bug report", body, {}}, Server(peer), m_progress);
    ASSERT_TRUE(result.Sent) << result.Error;
    EXPECT_EQ(
        test::DialogueLines(m_scratch.Path()),
        (std::vector<std::string>{"EHLO " + ComputerName(), "HELO " + ComputerName(),
                                  "MAIL FROM:<dev@example.test>", "RCPT TO:<dev@example.test>",
                                  "DATA", "(message for dev@example.test)", "QUIT"}));
    const auto parsed = test::ReadMail(Message(1));
    EXPECT_FALSE(parsed["multipart"]);
    EXPECT_EQ(parsed["body"], ".\n..\n.leading\nmiddle . \n.\n");
    EXPECT_FALSE(parsed["headers"].contains("from")) << parsed.dump();
    const std::string raw = ReadFileText(Message(1));
    const std::size_t date = raw.find("\r\nDate: ");
    ASSERT_NE(date, std::string::npos);
    const std::string dateLine = raw.substr(date + 2, raw.find("\r\n", date + 2) - date - 2);
    EXPECT_TRUE(IsMailDateLine(dateLine)) << dateLine;
}

TEST_F(SmtpClientTest, RefusedRecipientsAndEmptyMail) {
    const auto peer = StartPeer({"--refuse", "gone@example.test"});
    const struct {
        const char* Name;
        MailParameters Mail;
        bool Sent;
        std::vector<std::string> Tail;
    } cases[] = {
        {"one of two refused",
         {"gone@example.test, dev@example.test", "", "s", "b", {}},
         true,
         {"RCPT TO:<gone@example.test>", "RCPT TO:<dev@example.test>", "DATA",
          "(message for dev@example.test)", "QUIT"}},
        {"all refused",
         {"gone@example.test", "", "s", "b", {}},
         false,
         {"MAIL FROM:<gone@example.test>", "RCPT TO:<gone@example.test>", "QUIT"}},
        {"nothing to say",
         {"dev@example.test", "", "", "", {}},
         true,
         {"RCPT TO:<dev@example.test>", "RSET", "QUIT"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        ClearDialogue();
        const RouteResult result = SendSmtpMail(test.Mail, Server(peer), m_progress);
        EXPECT_EQ(result.Sent, test.Sent) << result.Error;
        const auto lines = test::DialogueLines(m_scratch.Path());
        ASSERT_GE(lines.size(), test.Tail.size());
        EXPECT_EQ(std::vector<std::string>(
                      lines.end() - static_cast<std::ptrdiff_t>(test.Tail.size()), lines.end()),
                  test.Tail);
    }
}

TEST_F(SmtpClientTest, LoginFailures) {
    const struct {
        const char* Name;
        std::vector<std::string> PeerOptions;
        std::string Password;
        std::string Error;
    } cases[] = {
        {"no LOGIN offered",
         {"--auth", "reporter:s3cret", "--no-login"},
         "s3cret",
         "the server offers no AUTH LOGIN"},
        {"no extensions",
         {"--auth", "reporter:s3cret", "--no-ehlo"},
         "s3cret",
         "the server offers no AUTH LOGIN"},
        {"wrong password", {"--auth", "reporter:s3cret"}, "wrong", "answered \"535"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const auto peer = StartPeer(test.PeerOptions);
        ClearDialogue();
        const RouteResult result =
            SendSmtpMail({"dev@example.test", "", "s", "b", {}},
                         Server(peer, "reporter", test.Password), m_progress);
        EXPECT_FALSE(result.Sent);
        EXPECT_NE(result.Error.find(test.Error), std::string::npos) << result.Error;
        const auto lines = test::DialogueLines(m_scratch.Path());
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "QUIT");
        EXPECT_FALSE(std::filesystem::exists(Message(1)));
    }
}

TEST_F(SmtpClientTest, HeaderInjectionIsRefusedOrEncoded) {
    const auto peer = StartPeer();
    const struct {
        const char* Name;
        MailParameters Mail;
    } refused[] = {
        {"recipient", {"dev@example.test\r\nRCPT TO:<evil@example.test>", "", "s", "b", {}}},
        {"recipient name", {"Dev\r\nBcc: evil@example.test <dev@example.test>", "", "s", "b", {}}},
        {"sender",
         {"dev@example.test", "op@example.test>\r\nBcc: <evil@example.test", "s", "b", {}}},
        {"attachment name",
         {"dev@example.test", "", "s", "b", {{"/dev/null", "a\"\r\nBcc: x", "A", ""}}}},
    };
    for (const auto& test : refused) {
        SCOPED_TRACE(test.Name);
        const RouteResult result = SendSmtpMail(test.Mail, Server(peer), m_progress);
        EXPECT_FALSE(result.Sent);
        EXPECT_NE(result.Error.find("invalid"), std::string::npos) << result.Error;
    }
    EXPECT_TRUE(test::DialogueLines(m_scratch.Path()).empty());

    const std::string subject = "bug\r\nBcc: evil@example.test";
    ASSERT_TRUE(
        SendSmtpMail({"dev@example.test", "", subject, "b", {}}, Server(peer), m_progress).Sent);
    const auto parsed = test::ReadMail(Message(1));
    EXPECT_EQ(parsed["headers"].count("bcc"), 0u) << parsed.dump();
    const auto lines = test::DialogueLines(m_scratch.Path());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("RCPT"); }),
              1);
}

TEST_F(SmtpClientTest, LongSubjectFoldsIntoEncodedWordsOfBoundedLength) {
    const auto peer = StartPeer();
    std::string subject = "bug report: ";
    for (int i = 0; i < 40; ++i) {
        subject += "Überlauf ";
    }
    ASSERT_TRUE(
        SendSmtpMail({"dev@example.test", "", subject, "b", {}}, Server(peer), m_progress).Sent);
    EXPECT_EQ(test::ReadMail(Message(1))["headers"]["subject"], subject);
    const std::string raw = ReadFileText(Message(1));
    const std::string header = raw.substr(0, raw.find("\r\n\r\n"));
    for (std::size_t start = 0, end; start < header.size(); start = end + 2) {
        end = std::min(header.find("\r\n", start), header.size());
        EXPECT_LE(end - start, 78u) << header.substr(start, end - start);
    }
}

TEST_F(SmtpClientTest, NoServerEndsTheRouteWithTheReason) {
    int port = 0;
    {
        const auto peer = StartPeer();
        port = peer.Port();
    }
    const RouteResult result = SendSmtpMail(
        {"dev@example.test", "", "s", "b", {}},
        {"127.0.0.1", static_cast<std::uint16_t>(port), "", "", std::chrono::milliseconds(7000)},
        m_progress);
    EXPECT_FALSE(result.Sent);
    EXPECT_NE(result.Error.find("cannot connect to \"127.0.0.1\""), std::string::npos)
        << result.Error;
    EXPECT_EQ(SendSmtpMail({"", "", "s", "b", {}}, {"127.0.0.1", 1, "", "", {}}, m_progress).Error,
              "no recipient");
}

}  // namespace
}  // namespace kestrix
