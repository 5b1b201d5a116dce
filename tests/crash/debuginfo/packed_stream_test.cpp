// \brief The packed integers and strings of the debug-information stream.
#include "crash/debuginfo/packed_stream.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrix {
namespace {

struct PackedIntCase {
    std::int32_t Value;
    std::string Bytes;
};

void PrintTo(const PackedIntCase& c, std::ostream* out) {
    *out << c.Value;
}

class PackedInt : public testing::TestWithParam<PackedIntCase> {};

TEST_P(PackedInt, WritesOneByteOrTheEscapeAndReadsBack) {
    PackedStreamWriter writer;
    writer.WritePackedInt(GetParam().Value);
    EXPECT_EQ(writer.Bytes(), GetParam().Bytes);
    PackedStreamReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadPackedInt(), GetParam().Value);
    EXPECT_EQ(reader.Remaining(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Values,
                         PackedInt,
                         testing::Values(PackedIntCase{0, std::string(1, '\0')},
                                         PackedIntCase{127, "\x7f"},
                                         PackedIntCase{-127, "\x81"},
                                         // -128 is the escape itself, so it needs the 32-bit form.
                                         PackedIntCase{-128,
                                                       std::string("\x80\x80\xff\xff\xff", 5)},
                                         PackedIntCase{128, std::string("\x80\x80\x00\x00\x00", 5)},
                                         PackedIntCase{std::numeric_limits<std::int32_t>::min(),
                                                       std::string("\x80\x00\x00\x00\x80", 5)}));

TEST(PackedString, CutsLongTextAtACharacterBoundary) {
    // 254 ASCII bytes and a two-byte character would cross the 255-byte limit inside it.
    const std::string text = std::string(254, 'a') + "\xc3\xa9" + "tail";
    PackedStreamWriter writer;
    writer.WritePackedString(text);
    PackedStreamReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadPackedString(), std::string(254, 'a'));
}

TEST(PackedStreamReader, RefusesToReadPastTheEnd) {
    PackedStreamReader reader(
        std::string_view("\x05"
                         "abc",
                         4));
    EXPECT_THROW(reader.ReadPackedString(), DebugInfoFormatError);
    PackedStreamReader shortInteger(std::string_view("\x80\x01\x02", 3));
    EXPECT_THROW(shortInteger.ReadPackedInt(), DebugInfoFormatError);
}

}  // namespace
}  // namespace kestrix
