// Tests of formatted input with the C library's matching rules.
#include "data/formatted_input.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/exceptions.h"

namespace gatool {
namespace {

struct DoubleCase {
    const char* input;
    const char* format;
    int converted;
    double value;  // what the target holds afterwards (it starts at -1)
    int nextByte;  // the first unread byte
};

TEST(ScanFormat, FollowsTheMatchingRulesForOneDouble) {
    const DoubleCase cases[] = {
        {"dt 0.5\r\nx", "dt %lf\r", 1, 0.5, 'x'},
        {"dt0.5x", "dt %lf\r", 1, 0.5, 'x'},  // white space in a format matches none
        {"dt \r\n \t\n-2.5e-3 y", "dt %lf\r", 1, -0.0025, 'y'},
        {"dx 0.5", "dt %lf\r", 0, -1, 'x'},  // the mismatching byte stays unread
        {"dt abc", "dt %lf\r", 0, -1, 'a'},
        {"dt 1e+x", "dt %lf\r", 0, -1, 'x'},  // a malformed number is consumed
        {"dt -.x", "dt %lf\r", 0, -1, 'x'},
        {"dt .5", "dt %lf", 1, 0.5, InputStream::EndOfFile},
        {"dt 5.", "dt %lf", 1, 5, InputStream::EndOfFile},
        {"dt +7E2,", "dt %lf", 1, 700, ','},
        {"dt 1,5", "dt %lf", 1, 1, ','},                        // never the locale's decimal comma
        {"dt 0x10", "dt %lf", 1, 0, 'x'},                       // no hexadecimal
        {"dt inf", "dt %lf", 0, -1, 'i'},                       // nor infinities
        {"dt 1e-400", "dt %lf", 1, 0, InputStream::EndOfFile},  // underflow passes
        {"", "dt %lf", ScanEndOfInput, -1, InputStream::EndOfFile},
        {"  ", "dt %lf", 0, -1, ' '},
        {"dt 1e", "dt %lf", 0, -1, InputStream::EndOfFile},  // malformed, not missing
        {"dt", "dt %lf", ScanEndOfInput, -1, InputStream::EndOfFile},
        {"d", "dt %lf", ScanEndOfInput, -1, InputStream::EndOfFile},
    };
    for (const DoubleCase& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\" format \"" + c.format + "\"");
        InputStream in = InputStream::FromMemory(c.input);
        double value = -1;
        EXPECT_EQ(ScanFormat(in, c.format, {&value}), c.converted);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(in.Peek(), c.nextByte);
    }
}

TEST(ScanFormat, StopsAtTheFirstFailureAndKeepsLaterTargets) {
    InputStream in = InputStream::FromMemory("dh 5\r\n7\r\nxx 9");
    std::int32_t day = -1, month = -1, year = -1;
    EXPECT_EQ(ScanFormat(in, "dh%d\r%d\r%d\r", {&day, &month, &year}), 2);
    EXPECT_EQ(day, 5);
    EXPECT_EQ(month, 7);
    EXPECT_EQ(year, -1);
    EXPECT_EQ(in.Peek(), 'x');
}

TEST(ScanFormat, ReadsIntegersAndRefusesOnesBeyondInt32) {
    struct Case {
        const char* input;
        int converted;
        std::int32_t value;
    } const cases[] = {
        {"cy 4", 1, 4},
        {"cy -2147483648", 1, -2147483647 - 1},
        {"cy 2147483647", 1, 2147483647},
        {"cy 2147483648", 0, -1},
        {"cy 99999999999999999999999", 0, -1},
        {"cy 4.5", 1, 4},
        {"cy +", 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        InputStream in = InputStream::FromMemory(c.input);
        std::int32_t value = -1;
        EXPECT_EQ(ScanFormat(in, "cy %d", {&value}), c.converted);
        EXPECT_EQ(value, c.value);
    }
}

TEST(ScanFormat, ConvertsSinglesDirectlyNotThroughDouble) {
    // Just above the tie between 1 and 1 + 2^-23: read directly it rounds up; read through a double
    // it would first round to the tie and then to even, down to 1. The second is an exact tie.
    InputStream in = InputStream::FromMemory("1.0000000596046447753906258 16777217");
    float aboveTie = 0, tie = 0;
    EXPECT_EQ(ScanFormat(in, "%f %f", {&aboveTie, &tie}), 2);
    EXPECT_EQ(aboveTie, 1.0f + 0x1p-23f);
    EXPECT_EQ(tie, 16777216.0f);
}

TEST(ScanFormat, RaisesOverflowForNumbersBeyondTheTargetsRange) {
    InputStream single = InputStream::FromMemory("3.5e38");
    float f = 0;
    EXPECT_THROW(ScanFormat(single, "%f", {&f}), EOverflow);
    InputStream doubled = InputStream::FromMemory("-1e309");
    double d = 0;
    EXPECT_THROW(ScanFormat(doubled, "%lf", {&d}), EOverflow);
    InputStream fits = InputStream::FromMemory("3.4e38");
    EXPECT_EQ(ScanFormat(fits, "%f", {&f}), 1);
}

TEST(ScanFormat, IgnoresTheProcessLocale) {
    // Whatever locale the program runs in, the files' decimal point is ".".
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
        << "the set-up script generates the de_DE.UTF-8 locale";
    InputStream in = InputStream::FromMemory("2.25");
    double value = 0;
    EXPECT_EQ(ScanFormat(in, "%lf", {&value}), 1);
    EXPECT_EQ(value, 2.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace gatool
