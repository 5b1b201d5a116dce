// \brief Windows-1252 and UTF-16 conversions of form stream strings.
#include "crash/settings/text_code_page.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(TextCodePage, Windows1252HighRangeAndLatin1) {
    EXPECT_EQ(Windows1252ToUtf8("\x80\x8A\x9F\xA0\xE9\xFF"),
              "\u20AC\u0160\u0178\u00A0\u00E9\u00FF");
    // Unassigned positions keep their number as a control character and come back unchanged.
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\u0081");
    EXPECT_EQ(Utf8ToWindows1252("\u0081"), std::string("\x81"));
}

TEST(TextCodePage, EveryWindows1252ByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += char(b);
    }
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(TextCodePage, Utf8OutsideWindows1252HasNoEncoding) {
    for (const char* text : {"\u03A9", "\U0001D11E", "\xC3", "\xC0\x80", "\xED\xA0\x80"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Utf8ToWindows1252(text));
    }
}

TEST(TextCodePage, Utf16SurrogatesAndLoneHalves) {
    EXPECT_EQ(Utf16ToUtf8({0x0041, 0xD834, 0xDD1E}), "A\U0001D11E");
    EXPECT_EQ(Utf16ToUtf8({0xDC00, 0x0042, 0xD800}), "\uFFFDB\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("A\U0001D11E\u03A9"),
              (std::vector<char16_t>{0x0041, 0xD834, 0xDD1E, 0x03A9}));
}

}  // namespace
}  // namespace kestrix
