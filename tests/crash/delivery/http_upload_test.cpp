// The HTTP upload against a Python server on 127.0.0.1: the request, the form as a standard
// multipart parser reads it, interim and redirect answers, the proxy.
#include "crash/delivery/routes/http_upload.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>

#include "crash/settings/base64.h"
#include "tests/crash/delivery/peer_process.h"
#include "tests/crash/delivery/scratch_folder.h"

namespace kestrix {
namespace {

class HttpUploadTest : public testing::Test {
  protected:
    HttpUploadTest() {
        unsetenv("http_proxy");
        unsetenv("HTTP_PROXY");
        unsetenv("no_proxy");
        unsetenv("NO_PROXY");
    }

    test::PeerProcess StartPeer(std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{"/usr/bin/python3", test::PeerScript("http_peer.py"),
                                           m_scratch.Path().string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return test::PeerProcess(arguments);
    }

    HttpTarget Target(const test::PeerProcess& peer, std::string path = "/upload/bug.php") {
        return {"http://127.0.0.1" + path, static_cast<std::uint16_t>(peer.Port()), "", "",
                std::chrono::milliseconds(7000)};
    }

    nlohmann::json Request(int number) const {
        const std::string text =
            ReadFileText(m_scratch.Path() / ("request-" + std::to_string(number) + ".json"));
        return nlohmann::json::parse(text, nullptr, false);
    }

    static std::string Header(const nlohmann::json& request, const std::string& name) {
        for (const auto& header : request["headers"]) {
            if (header[0] == name) {
                return header[1];
            }
        }
        return "(none)";
    }

    ScratchFolder m_scratch{"kestrix-http"};
    NoSendProgress m_progress;
};

TEST_F(HttpUploadTest, FormWithFieldsAndFilesArrivesIntact) {
    const auto peer = StartPeer({"--auth", "uploader:pa:ss"});
    const std::string report = "date/time : now\r\n.\r\nline\r\n--not a boundary\r\n";
    std::string picture;
    for (int i = 0; i < 5000; ++i) {
        picture.push_back(static_cast<char>(i % 251));
    }
    WriteFileText(m_scratch.Path() / "bugreport.txt", report);
    WriteFileText(m_scratch.Path() / "screenShot.png", picture);
    HttpTarget target = Target(peer);
    target.Account = "uploader";
    target.Password = "pa:ss";
    const HttpUploadContent content{
        "Operator <op@example.test>",
        {{"MailFrom", "Operator <op@example.test>"}, {"Product", "gatool = 1.2"}},
        {{m_scratch.Path() / "bugreport.txt", "bugreport.txt", "BugReport", ""},
         {m_scratch.Path() / "screenShot.png", "screenshot.png", "ScreenShot", ""}}};
    const auto result = HttpUpload(target, content, m_progress);
    ASSERT_TRUE(result.Sent) << result.Error;
    EXPECT_FALSE(result.Redirect);

    const auto request = Request(1);
    EXPECT_EQ(request["request"], "POST /upload/bug.php HTTP/1.1");
    std::vector<std::string> names;
    for (const auto& header : request["headers"]) {
        names.push_back(header[0]);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Host", "Connection", "Pragma", "User-Agent",
                                               "Content-Type", "Content-Length", "From",
                                               "Authorization"}));
    EXPECT_EQ(Header(request, "Host"), "127.0.0.1:" + std::to_string(peer.Port()));
    EXPECT_EQ(Header(request, "Connection"), "close");
    EXPECT_EQ(Header(request, "Pragma"), "no-cache");
    EXPECT_EQ(Header(request, "User-Agent"), "Kestrix/3.0");
    EXPECT_EQ(Header(request, "Content-Type"),
              "multipart/form-data; boundary=kestrix.invalid_multipart_boundary");
    EXPECT_EQ(Header(request, "Content-Length"), std::to_string(request["length"].get<int>()));
    EXPECT_EQ(Header(request, "From"), "op@example.test");
    EXPECT_EQ(Header(request, "Authorization"), "Basic " + EncodeBase64("uploader:pa:ss"));
    EXPECT_TRUE(request["defects"].empty()) << request.dump();

    const auto& form = request["form"];
    ASSERT_EQ(form.size(), 4u) << request.dump();
    EXPECT_EQ(form[0]["name"], "MailFrom");
    EXPECT_EQ(DecodeBase64(form[0]["data"].get<std::string>()), "Operator <op@example.test>");
    EXPECT_EQ(form[1]["name"], "Product");
    EXPECT_EQ(DecodeBase64(form[1]["data"].get<std::string>()), "gatool = 1.2");
    EXPECT_EQ(form[2]["name"], "BugReport");
    EXPECT_EQ(form[2]["filename"], "bugreport.txt");
    EXPECT_EQ(form[2]["type"], "application/octet-stream");
    EXPECT_EQ(DecodeBase64(form[2]["data"].get<std::string>()), report);
    EXPECT_EQ(form[3]["name"], "ScreenShot");
    EXPECT_EQ(form[3]["filename"], "screenshot.png");
    EXPECT_EQ(DecodeBase64(form[3]["data"].get<std::string>()), picture);
}

TEST_F(HttpUploadTest, AnswersDecideTheOutcome) {
    const struct {
        const char* Name;
        std::vector<std::string> Options;
        bool Sent;
        std::optional<std::string> Redirect;
    } cases[] = {
        {"ok", {}, true, std::nullopt},
        {"continue, then ok", {"--continue"}, true, std::nullopt},
        {"redirect",
         {"--status", "302", "--location", "http://example.test/thanks?id=7"},
         true,
         "http://example.test/thanks?id=7"},
        {"continue, then redirect",
         {"--continue", "--status", "302", "--location", "http://example.test/t"},
         true,
         "http://example.test/t"},
        {"server error", {"--status", "500"}, false, std::nullopt},
        {"not authorised", {"--auth", "a:b"}, false, std::nullopt},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const auto peer = StartPeer(test.Options);
        const auto result = HttpUpload(Target(peer), {"", {{"MailFrom", ""}}, {}}, m_progress);
        EXPECT_EQ(result.Sent, test.Sent) << result.Error;
        EXPECT_EQ(result.Redirect, test.Redirect);
        if (!test.Sent) {
            EXPECT_NE(result.Error.find("the upload was answered: HTTP/1."), std::string::npos)
                << result.Error;
        }
    }
}

TEST_F(HttpUploadTest, ProxyGetsTheWholeAddress) {
    const auto proxy = StartPeer();
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.Port())).c_str(), 1);
    const auto result = HttpUpload(
        {"http://upload.example.test:8080/bugs/new", 80, "", "", std::chrono::milliseconds(7000)},
        {"", {{"MailFrom", ""}}, {}}, m_progress);
    ASSERT_TRUE(result.Sent) << result.Error;
    const auto request = Request(1);
    EXPECT_EQ(request["request"], "POST http://upload.example.test:8080/bugs/new HTTP/1.1");
    EXPECT_EQ(Header(request, "Host"), "upload.example.test:8080");

    setenv("no_proxy", "localhost, .example.test", 1);
    EXPECT_EQ(ProxyFor("upload.example.test"), std::nullopt);
    EXPECT_EQ(ProxyFor("example.test"), std::nullopt);
    EXPECT_EQ(ProxyFor("other.test"),
              std::pair(std::string("127.0.0.1"), static_cast<std::uint16_t>(proxy.Port())));
}

TEST_F(HttpUploadTest, InjectionAndBadAddressesAreRefusedBeforeConnecting) {
    const auto peer = StartPeer();
    const struct {
        const char* Name;
        std::string Url;
        HttpUploadContent Content;
        std::string Error;
    } cases[] = {
        {"address with a line break", "http://127.0.0.1/a\r\nX-Evil: 1", {}, "invalid upload"},
        {"no host", "http:///path", {}, "invalid upload"},
        {"sender", "http://127.0.0.1/", {"a@b.test\r\nX-Evil: 1", {}, {}}, "invalid sender"},
        {"field name", "http://127.0.0.1/", {"", {{"a\"; x=\"", "v"}}, {}}, "invalid form field"},
        {"file name",
         "http://127.0.0.1/",
         {"", {}, {{"/dev/null", "a\r\nContent-Type: text/html", "F", ""}}},
         "invalid attachment"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const auto result =
            HttpUpload({test.Url, static_cast<std::uint16_t>(peer.Port()), "", "", {}},
                       test.Content, m_progress);
        EXPECT_FALSE(result.Sent);
        EXPECT_NE(result.Error.find(test.Error), std::string::npos) << result.Error;
    }
    EXPECT_FALSE(std::filesystem::exists(m_scratch.Path() / "request-1.json"));
}

}  // namespace
}  // namespace kestrix
