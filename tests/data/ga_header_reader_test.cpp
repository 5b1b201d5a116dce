// Tests of the GA header: the six formats, damaged lines, the text line and the date.
#include "data/ga_header_reader.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

using namespace std::chrono;

GaHeader ReadHeader(const std::string& text, GaHeader header = {}) {
    InputStream in = InputStream::FromMemory(text);
    ReadGaHeader(header, in);
    return header;
}

TEST(ReadGaHeader, ReadsEveryFieldWhateverTheLineEnds) {
    for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(lineEnd));
        const GaHeader header = ReadHeader(testing::HeaderText(lineEnd, "3.5e-8"));
        EXPECT_EQ(header.IntegrationTime, 0.5);
        EXPECT_EQ(header.DeadTime, 3.5e-8);
        EXPECT_EQ(header.Cy, 4);
        EXPECT_EQ(header.TestDate, year{2026} / December / 9);
        EXPECT_EQ(header.HeaderText, "Test of slits");
        EXPECT_EQ(header.HeaderValue1, 1.5);
        EXPECT_EQ(header.HeaderValue2, 2.5);
        EXPECT_EQ(header.HeaderValue3, 3.5);
        EXPECT_EQ(header.Pr, 1013.25);
    }
}

TEST(ReadGaHeader, LeavesFieldsOfADamagedLineAndTheLinesAfterItAsTheyWere) {
    GaHeader before;
    before.IntegrationTime = 1;
    before.DeadTime = 2;
    before.Cy = 3;
    // "dt" misspelt as "dx": the dt format takes the "d" and stops at the "x"; the cy and dh
    // formats fail at the "x" too, and the text line starts right there.
    const GaHeader header =
        ReadHeader("Integration time is 0.25 seconds per sample\r\ndx 5\r\ncy 7\r\n", before);
    EXPECT_EQ(header.IntegrationTime, 0.25);
    EXPECT_EQ(header.DeadTime, 2);
    EXPECT_EQ(header.Cy, 3);
    EXPECT_FALSE(header.TestDate.has_value());
    EXPECT_EQ(header.HeaderText, "x 5");
}

TEST(ReadGaHeader, ShiftsTheValuesAfterABlankTextLine) {
    const GaHeader header = ReadHeader(
        "Integration time is 0.5 seconds per sample\r\ndt 0\r\ncy 4\r\ndh 1 2 3\r\n\r\n"
        "1.5 2.5 3.5\r\npr 9\r\n");
    EXPECT_EQ(header.HeaderText, "1.5 2.5 3.5");
    EXPECT_EQ(header.HeaderValue1, 0);  // "pr" does not read as a number
    EXPECT_EQ(header.Pr, 0);
}

TEST(ReadGaHeader, RefusesAnImpossibleDate) {
    try {
        ReadHeader("Integration time is 0.5 seconds per sample\r\ndt 0\r\ncy 4\r\ndh 31 2 7\r\n");
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Invalid argument to date encode");
    }
}

TEST(ReadGaHeader, LeavesATestWithoutAReadableDateUndated) {
    GaHeader before;
    before.TestDate = year{2001} / 1 / 1;
    const GaHeader header = ReadHeader(
        "Integration time is 0.5 seconds per sample\r\ndt 0\r\ncy 4\r\ndh 5 7\r\nText\r\n", before);
    EXPECT_FALSE(header.TestDate.has_value());
    EXPECT_EQ(header.HeaderText, "Text");
}

TEST(ReadTextLine, ReadsALineOfLineBufferLessOneCharactersWhole) {
    const std::string line(LineBuffer - 1, 'x');
    InputStream in = InputStream::FromMemory(line + "\r\nnext");
    EXPECT_EQ(ReadTextLine(in), line);
    EXPECT_EQ(in.Peek(), 'n');
}

TEST(ReadTextLine, DropsTheRestOfALongerLineSoTheNextLineStaysInPlace) {
    InputStream in = InputStream::FromMemory(std::string(LineBuffer - 1, 'x') + "overflow\nnext");
    EXPECT_EQ(ReadTextLine(in), std::string(LineBuffer - 1, 'x'));
    EXPECT_EQ(in.Peek(), 'n');
}

TEST(ReadTextLine, EndsTheLoadAtALineThatRunsOnPastAnyGaFilesSize) {
    InputStream fits = InputStream::FromMemory(std::string(LongestTextLine, 'x') + "\n1");
    EXPECT_EQ(ReadTextLine(fits), std::string(LineBuffer - 1, 'x'));
    EXPECT_EQ(fits.Peek(), '1');

    InputStream endless =
        InputStream::FromMemory("\r\n" + std::string(LongestTextLine + 1, '\0') + "\n");
    endless.Get();
    endless.Get();
    try {
        ReadTextLine(endless);
        FAIL() << "read on";
    } catch (const EFileFormatError& error) {
        EXPECT_STREQ(error.what(),
                     "The header's text line (line 2) runs on for more than 1048576 characters "
                     "without a line end: this is not a GA file.");
    }
}

TEST(ReadTextLine, EndsAtCrLfOrTheEndOfTheFile) {
    struct Case {
        const char* input;
        const char* text;
        int next;
    } const cases[] = {
        {"ab\r\ncd", "ab", 'c'},
        {"ab\rcd", "ab", 'c'},
        {"ab\ncd", "ab", 'c'},
        {"ab\n\ncd", "ab", 'c'},  // an LF after the terminator is taken too
        {"ab\r\rcd", "ab", '\r'},
        {"ab", "ab", InputStream::EndOfFile},
        {"", "", InputStream::EndOfFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.input)));
        InputStream in = InputStream::FromMemory(c.input);
        EXPECT_EQ(ReadTextLine(in), c.text);
        EXPECT_EQ(in.Peek(), c.next);
    }
}

}  // namespace
}  // namespace gatool
