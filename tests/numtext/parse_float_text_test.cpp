// Tests of reading number text: the grammar, the marks, the exponent's reading limit, the extended
// range and the exact error message.
#include "numtext/parse_float_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

#include "base/exceptions.h"
#include "scoped_number_marks.h"

namespace gatool {
namespace {

struct ReadCase {
    std::string text;
    Extended value;
};

class ParseFloatTextTest : public ::testing::Test {
  protected:
    static void ExpectValues(std::initializer_list<ReadCase> cases) {
        for (const ReadCase& c : cases) {
            SCOPED_TRACE("text \"" + c.text + "\"");
            const Extended value = ParseFloatText(c.text);
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(std::signbit(value), std::signbit(c.value));
        }
    }

    static void ExpectRejected(std::initializer_list<std::string> texts) {
        for (const std::string& text : texts) {
            SCOPED_TRACE("text \"" + text + "\"");
            try {
                ParseFloatText(text);
                ADD_FAILURE() << "no error";
            } catch (const EConvertError& error) {
                EXPECT_EQ(error.what(), "'" + text + "' is not a valid floating point value");
            }
        }
    }

    ScopedNumberMarks m_marks{".", ","};
};

TEST_F(ParseFloatTextTest, ReadsTheReferenceTexts) {
    ExpectValues({
        {"  1.5 ", 1.5},
        {"1e3", 1000},
        {"-.5", -0.5},
        {"1E", 1},
    });
}

TEST_F(ParseFloatTextTest, RejectsTheReferenceTextsWithTheExactMessage) {
    ExpectRejected({"", "   ", "1,5"});
}

TEST_F(ParseFloatTextTest, ReadsEveryPartOfTheGrammar) {
    ExpectValues({
        {"42", 42},
        {"+7", 7},
        {"-0", -0.0L},
        {".", 0},
        {"-.", -0.0L},
        {"5.", 5},
        {"1E+", 1},
        {"2e-3", 2e-3L},
        {"2E+03", 2000},
        {"0012.50", 12.5},
        {".E7", 0},
        {"1e0000000002", 100},
    });
}

TEST_F(ParseFloatTextTest, RoundsCorrectlyToExtendedPrecision) {
    ExpectValues({
        {"0.1", 0.1L},
        {"2.675", 2.675L},
        {"3.36210314311209350626e-4932", std::numeric_limits<Extended>::min()},
        // 2^64 + 1 lies halfway between two extended neighbours and rounds to the even one.
        {"18446744073709551617", 18446744073709551616.0L},
        {"18446744073709551619", 18446744073709551620.0L},
        {"0." + std::string(4000, '0') + "1E4000", 0.1L},
        {std::string(3000, '9') + "E-3000", 1},
    });
}

TEST_F(ParseFloatTextTest, StopsReadingTheExponentOnceItReaches500) {
    ExpectValues({
        {"1E499", 1e499L},
        {"1E4931", 1e4931L},
        {"0E600", 0},
        {"1e-4950", 1e-4950L},
    });
    // The digits after the reading stopped are left over and make the text invalid.
    ExpectRejected({"1E5000", "0E5000", "1e-5000"});
}

TEST_F(ParseFloatTextTest, OverflowFailsAndUnderflowPasses) {
    ExpectRejected({"1E4933", "-1.2E4932"});
    EXPECT_EQ(ParseFloatText("1e-4999"), 0);
    EXPECT_GT(ParseFloatText("1e-4945"), 0);  // a denormal
    EXPECT_EQ(ParseFloatText("1.18973149535723176502e4932"), std::numeric_limits<Extended>::max());
}

TEST_F(ParseFloatTextTest, RejectsMalformedText) {
    ExpectRejected({
        "\t1",
        "1\t",
        "1 000",
        "1.5x",
        "e5",
        "+",
        "-",
        "++1",
        "1.2.3",
        "1e5.5",
        "1e++5",
        "inf",
        "nan",
        "0x10",
        " -1,234.5 ",
    });
    EXPECT_THROW(ParseFloatText(std::string("1\0", 2)), EConvertError);
}

TEST_F(ParseFloatTextTest, AcceptsOnlyTheDecimalMarkInForce) {
    const ScopedNumberMarks comma(",", ".");
    ExpectValues({
        {"1,5", 1.5},
        {",25", 0.25},
        {"-3,5E2", -350},
    });
    ExpectRejected({"1.5", "1.234,5", "."});
}

TEST_F(ParseFloatTextTest, AcceptsAMultiByteDecimalMark) {
    const ScopedNumberMarks arabic("\u066b", "\u066c");
    ExpectValues({{"1\u066b5", 1.5}});
    ExpectRejected({"1.5", "1\xD9", "1\u066c000"});
}

}  // namespace
}  // namespace gatool
