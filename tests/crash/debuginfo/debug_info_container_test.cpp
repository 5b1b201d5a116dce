// \brief The container: header fields of versions 2 and 3, the enciphered body, padding, refusals.
#include "crash/debuginfo/debug_info_container.h"

#include <gtest/gtest.h>

#include "crash/debuginfo/compressed_stream.h"
#include "crash/debuginfo/debug_info_cipher.h"
#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

const std::string Plain = [] {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "kestrix::Procedure" + std::to_string(i) + "()";
    }
    return text;
}();

struct VersionCase {
    int Version;
    bool Minimal;
    std::size_t BodyStart;
};

class ContainerVersion : public testing::TestWithParam<VersionCase> {};

TEST_P(ContainerVersion, RoundTripsWithItsHeaderAndPadding) {
    const VersionCase c = GetParam();
    const std::string data = WriteDebugInfoContainer(Plain, c.Version, c.Minimal);
    EXPECT_TRUE(data.starts_with("Kestrix-DbgInf"));
    EXPECT_EQ(data.size() % 4, 0U);
    const std::uint32_t bodyLength = ReadLittleEndian32(data, 14);
    EXPECT_EQ(ReadLittleEndian32(data, 18), std::uint32_t(c.Version));
    EXPECT_LT(data.size() - (c.BodyStart + bodyLength), 4U);
    // The body is the compressed stream enciphered under the key from its length.
    const std::string compressed = CipherDebugInfoBody(data.substr(c.BodyStart, bodyLength));
    EXPECT_EQ(DecompressString(compressed), Plain);
    EXPECT_EQ(data.find("Procedure"), std::string::npos) << "names in plain sight";

    const auto read = ReadDebugInfoContainer(data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->PlainStream, Plain);
    EXPECT_EQ(read->Header.Version, std::uint32_t(c.Version));
    EXPECT_EQ(read->Header.BodyLength, bodyLength);
    EXPECT_EQ(read->Header.Crc, Crc32(Plain));
    EXPECT_EQ(read->Header.Minimal(), c.Minimal);
    if (c.Version == 3) {
        EXPECT_EQ(ReadLittleEndian32(data, 26), Crc32(Plain));
        const unsigned month = read->Header.DosDate >> 5 & 0xF;
        EXPECT_GE(month, 1U);
        EXPECT_LE(month, 12U);
        EXPECT_GE(read->Header.DosDate >> 9, 2026U - 1980U);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions,
                         ContainerVersion,
                         testing::Values(VersionCase{2, false, 22},
                                         VersionCase{3, false, 34},
                                         VersionCase{3, true, 34}));

TEST(DebugInfoContainer, RefusesForeignShortAndDamagedData) {
    const std::string good = WriteDebugInfoContainer(Plain, 3, false);
    std::string version4 = good;
    version4[18] = 4;
    std::string wrongSignature = good;
    wrongSignature[0] = 'k';
    std::string bodyTooLong = good;
    bodyTooLong[17] = 0x7F;
    std::string bodyByteChanged = good;
    bodyByteChanged[40] = char(bodyByteChanged[40] ^ 0x10);
    std::string headerCrcChanged = good;
    headerCrcChanged[26] = char(headerCrcChanged[26] ^ 1);
    struct Case {
        const char* What;
        std::string Data;
    };
    const Case cases[] = {
        {"22 bytes", good.substr(0, 22)},
        {"version 4", version4},
        {"other signature", wrongSignature},
        {"body length beyond the data", bodyTooLong},
        {"body byte changed", bodyByteChanged},
        {"header CRC differs from the stream's", headerCrcChanged},
        {"version 3 header cut", good.substr(0, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_FALSE(ReadDebugInfoContainer(c.Data));
    }
    EXPECT_TRUE(IsDebugInfoContainer(good.substr(0, 23)));
}

TEST(DebugInfoContainer, CipherKeyDependsOnTheLength) {
    EXPECT_NE(DebugInfoBodyKey(100), DebugInfoBodyKey(101));
    EXPECT_EQ(DebugInfoBodyKey(100), DebugInfoBodyKey(100));
    const std::string body = "compressed stream bytes";
    EXPECT_NE(CipherDebugInfoBody(body), body);
    EXPECT_EQ(CipherDebugInfoBody(CipherDebugInfoBody(body)), body);
}

TEST(DebugInfoIdentification, NamesLengthDateTimeAndCrcInHexadecimal) {
    DebugInfoHeader header;
    header.BodyLength = 0x1234;
    header.DosDate = 0x5A21;
    header.DosTime = 0x6B3C;
    header.Crc = 0xDEADBEEF;
    const std::string identification = DebugInfoIdentification(header);
    EXPECT_EQ(identification, "$00001234, $5A216B3C, $DEADBEEF");
    EXPECT_EQ(identification.size(), 31U);
}

}  // namespace
}  // namespace kestrix
