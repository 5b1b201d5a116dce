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

// The key stream comes in 8-byte words; data of any length, whole words or not, must take the same
// stream bytes at the same places, in place or copied, and come back when applied again.
TEST(ReportCipher, EveryLengthTakesTheSameKeyStreamInPlaceAsCopied) {
    std::string data;
    for (int i = 0; i < 41; ++i) {
        data.push_back(char('a' + i % 26));
    }
    const std::string whole = ApplyReportCipher(data, "key", AccountSeed);
    for (std::size_t length = 0; length <= data.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string part = data.substr(0, length);
        EXPECT_EQ(ApplyReportCipher(part, "key", AccountSeed), whole.substr(0, length));
        std::string inPlace = part;
        ApplyReportCipherInPlace(inPlace, "key", AccountSeed);
        EXPECT_EQ(inPlace, whole.substr(0, length));
        ApplyReportCipherInPlace(inPlace, "key", AccountSeed);
        EXPECT_EQ(inPlace, part);
    }
    // The shorter last group is enciphered too: 7 zero bytes after five words.
    const std::string zeros(47, '\0');
    EXPECT_NE(ApplyReportCipher(zeros, "key", AccountSeed).substr(40), zeros.substr(40));
}

TEST(ReportCipher, NonBase64StoredTextIsRefused) {
    EXPECT_FALSE(DecipherStoredPassword("not base64!", "s", "a"));
}

}  // namespace
}  // namespace kestrix
