// Tests of the encoding check at the start of a file: a UTF-8 byte-order mark is passed over,
// UTF-16 text with or without a mark is refused, other text is left as it is.
#include "data/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "base/exceptions.h"

namespace gatool {
namespace {

using namespace std::string_literals;

std::string Rest(InputStream& in) {
    std::string bytes;
    for (int c = in.Get(); c != InputStream::EndOfFile; c = in.Get()) {
        bytes += static_cast<char>(c);
    }
    return bytes;
}

TEST(SkipByteOrderMark, SkipsAUtf8MarkAndLeavesOtherTextAsItIs) {
    struct Case {
        std::string bytes;
        std::string rest;
    } const cases[] = {
        {"\xEF\xBB\xBF"
         "dt 1",
         "dt 1"},
        {"dt 1", "dt 1"},
        {"\xEF\xBB"
         "dt",
         "\xEF\xBB"
         "dt"},  // not a whole mark
        {"", ""},
        {"d", "d"},
        {"d\0\0t 1"s, "d\0\0t 1"s},                    // zero bytes, but not every other byte
        {"\xEF\xBB\xBF\xEF\xBB\xBF", "\xEF\xBB\xBF"},  // only the first mark is one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        InputStream in = InputStream::FromMemory(c.bytes);
        SkipByteOrderMark(in);
        EXPECT_EQ(Rest(in), c.rest);
    }
}

TEST(SkipByteOrderMark, RefusesUtf16TextWithOrWithoutAMark) {
    struct Case {
        std::string bytes;
        const char* byteOrder;
    } const cases[] = {
        {"\xFF\xFE"
         "d\0t\0"s,
         "little-endian"},
        {"\xFE\xFF"
         "\0d\0t"s,
         "big-endian"},
        {"I\0n\0t\0e\0g\0r\0a\0t\0i\0o\0n\0 \0t\0i\0m\0e\0 \0"s, "little-endian"},
        {"\0I\0n\0t\0e\0g\0r\0a\0t\0i\0o\0n\0 \0t\0i\0m\0e\0 "s, "big-endian"},
        {"1\0"s, "little-endian"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.byteOrder);
        InputStream in = InputStream::FromMemory(c.bytes);
        try {
            SkipByteOrderMark(in);
            ADD_FAILURE() << "not refused";
        } catch (const EFileFormatError& error) {
            EXPECT_EQ(error.what(), std::string("The file is UTF-16 text (") + c.byteOrder +
                                        "); it must be plain ASCII or UTF-8 text.");
        }
    }
}

}  // namespace
}  // namespace gatool
