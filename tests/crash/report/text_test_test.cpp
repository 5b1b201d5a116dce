// \brief The text test of the disassembly's comments: the character classes and their limits.
#include "crash/report/text_test.h"

#include <gtest/gtest.h>

#include <cstring>

#include "crash/stack/guarded_read.h"

#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {
namespace {

TEST(LooksLikeText, WeighsTheCharacterClasses) {
    struct Case {
        std::string_view text;
        bool expected;
    };
    for (const Case& c : {
             Case{"Floating point overflow", true}, Case{"abcd", true},
             Case{"abc", false},   // shorter than 4
             Case{"a,b.", false},  // 5 P = 10 is not below 2 L = 4
             Case{"ab,cd", true},  // 5 < 8
             Case{"C:\\temp\\file.txt", true},
             // S: 8 S must stay below P / 2 + L.
             Case{"abcdefgh#", false},  // 8 is not below 8
             Case{"abcdefghi#", true}, Case{"####", false},
             // O: 10 O must stay below P / 2 + L + S / 4.
             Case{"abcdefghij_", false},  // 10 is not below 10
             Case{"abcdefghijk_", true},
             Case{"\xc3\xa9t\xc3\xa9 in UTF-8", false},  // four bytes above 126
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LooksLikeText(c.text), c.expected);
    }
}

TEST(TextAt, ReadsUpToAnEndAndRefusesOtherControlCharacters) {
    ASSERT_TRUE(StartTryRead());
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    auto put = [&](std::size_t offset, const char* text, std::size_t length) {
        std::memcpy(pages.Readable() + offset, text, length);
        return pages.ReadableStart() + offset;
    };
    EXPECT_EQ(TextAt(put(0, "hello world\0rest", 16)), "hello world");
    EXPECT_EQ(TextAt(put(32, "first line\nsecond", 17)), "first line");
    EXPECT_EQ(TextAt(put(64, "page one\fpage two", 17)), "page one");
    EXPECT_EQ(TextAt(put(96, "tab\there", 9)), std::nullopt);
    EXPECT_EQ(TextAt(put(128, "\x01\x02\x03\x04", 4)), std::nullopt);
    // At most 100 characters are read: a text without an end is cut there.
    const std::string longText(150, 'x');
    EXPECT_EQ(TextAt(put(256, longText.c_str(), longText.size())), std::string(100, 'x'));
    // A text that runs into unreadable memory ends where the memory does.
    EXPECT_EQ(TextAt(put(Page - 6, "ending", 6)), "ending");
    EXPECT_EQ(TextAt(pages.InaccessibleStart()), std::nullopt);
}

}  // namespace
}  // namespace kestrix
