// \brief Base64 and the stored-password form of ReportCipher.
#include "crash/settings/report_cipher.h"

#include <gtest/gtest.h>

#include "crash/settings/base64.h"

namespace kestrix {
namespace {

TEST(Base64, KnownVectors) {
    const struct {
        const char* Plain;
        const char* Encoded;
    } cases[] = {{"", ""},
                 {"f", "Zg=="},
                 {"fo", "Zm8="},
                 {"foo", "Zm9v"},
                 {"foob", "Zm9vYg=="},
                 {"fooba", "Zm9vYmE="},
                 {"foobar", "Zm9vYmFy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Plain);
        EXPECT_EQ(EncodeBase64(c.Plain), c.Encoded);
        EXPECT_EQ(DecodeBase64(c.Encoded), std::string(c.Plain));
    }
}

TEST(Base64, RefusesMalformedText) {
    for (const char* text : {"Zg=", "Zg==Zg==", "Z===", "Zm9v\n", "Zm9*", "=Zm9"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(DecodeBase64(text));
    }
}

TEST(ReportCipher, StoredPasswordComesBackOnlyWithTheSameServerAndAccount) {
    const std::string stored = EncipherStoredPassword("s3cret!", "smtp.example.org", "gatool");
    EXPECT_EQ(DecipherStoredPassword(stored, "smtp.example.org", "gatool"), std::string("s3cret!"));
    EXPECT_NE(DecipherStoredPassword(stored, "smtp.example.net", "gatool"), std::string("s3cret!"));
    EXPECT_NE(DecipherStoredPassword(stored, "smtp.example.org", "other"), std::string("s3cret!"));
    EXPECT_EQ(stored.find("s3cret"), std::string::npos);
}

TEST(ReportCipher, KeyAndSeedBothChangeTheKeyStream) {
    const std::string data(32, '\0');
    const std::string base = ApplyReportCipher(data, "key", ServerSeed);
    EXPECT_NE(base, data);
    EXPECT_NE(ApplyReportCipher(data, "kez", ServerSeed), base);
    EXPECT_NE(ApplyReportCipher(data, "key", AccountSeed), base);
    EXPECT_EQ(ApplyReportCipher(base, "key", ServerSeed), data);
}

TEST(ReportCipher, NonBase64StoredTextIsRefused) {
    EXPECT_FALSE(DecipherStoredPassword("not base64!", "s", "a"));
}

}  // namespace
}  // namespace kestrix
