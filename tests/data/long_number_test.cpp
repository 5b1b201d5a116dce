// Tests of numbers of any length: exact rounding from their first digits, whatever follows them,
// and the same value whether a number lies in one buffer or runs across many reads of a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/exceptions.h"
#include "data/formatted_input.h"

namespace gatool {
namespace {

// The exact decimal value halfway between 1 and the next double, and between 1 and the next
// single: without a further digit they round to even (1), with any digit that is not zero far
// beyond them they round up.
const std::string DoubleHalfway = "1.00000000000000011102230246251565404236316680908203125";
const std::string SingleHalfway = "1.000000059604644775390625";

std::string Zeros(std::size_t count) {
    return std::string(count, '0');
}

double ReadDouble(InputStream in) {
    double value = -1;
    EXPECT_EQ(ScanFormat(in, "%lf", {&value}), 1);
    EXPECT_EQ(in.Peek(), ' ');  // the number ends where its digits do
    return value;
}

// The text read from memory and through a file read 32 bytes at a time.
void ExpectDouble(const std::string& text, double expected) {
    SCOPED_TRACE(text.substr(0, 60));
    EXPECT_EQ(ReadDouble(InputStream::FromMemory(text + " ")), expected);
    // A file of this process's own: the tests run in parallel processes.
    const auto path = std::filesystem::temp_directory_path() /
                      ("gatool_long_number_test_" + std::to_string(getpid()) + ".txt");
    std::ofstream(path, std::ios::binary) << text << ' ';
    EXPECT_EQ(ReadDouble(InputStream::FromFile(path, InputStream::MinimumChunkSize)), expected);
    std::filesystem::remove(path);
}

TEST(LongNumber, RoundsExactlyWhateverTheDigitsBeyondTheKeptOnes) {
    const double next = std::nextafter(1.0, 2.0);
    ExpectDouble(DoubleHalfway, 1.0);
    ExpectDouble(DoubleHalfway + Zeros(5000), 1.0);
    ExpectDouble(DoubleHalfway + Zeros(5000) + "1", next);
    ExpectDouble(DoubleHalfway + Zeros(5000) + "1" + Zeros(100), next);
    ExpectDouble("-" + DoubleHalfway + Zeros(2000) + "3e0", -next);
    // Just below halfway: the digits after the first thousand do not reach it.
    ExpectDouble(
        "1.000000000000000111022302462515654042363166809082031249" + std::string(3000, '9'), 1.0);
}

TEST(LongNumber, PlacesTheDecimalPointAfterAnyRunOfDigits) {
    ExpectDouble("1" + Zeros(300), 1e300);
    ExpectDouble("0." + Zeros(100000) + "1e100001", 1.0);
    ExpectDouble("00000" + Zeros(100000) + "25.5", 25.5);
    ExpectDouble("1" + Zeros(100000) + "e-100000", 1.0);
    ExpectDouble("5e" + Zeros(100000) + "3", 5000.0);
    ExpectDouble("1e-" + Zeros(100000) + "400", 0.0);  // below the least denormal
    ExpectDouble("0." + Zeros(10000), 0.0);
}

TEST(LongNumber, RaisesOverflowForALongNumberBeyondTheRange) {
    for (const std::string& text : {"1" + Zeros(400), "0." + Zeros(1000) + "1e2000",
                                    "9e" + Zeros(100000) + "99999999999999999999"}) {
        SCOPED_TRACE(text.substr(0, 40));
        InputStream in = InputStream::FromMemory(text);
        double value = 0;
        EXPECT_THROW(ScanFormat(in, "%lf", {&value}), EOverflow);
    }
}

TEST(LongNumber, RoundsSinglesDirectlyFromTheirDigits) {
    const float next = std::nextafter(1.0f, 2.0f);
    struct Case {
        std::string text;
        float expected;
    } const cases[] = {
        {SingleHalfway, 1.0f},
        {SingleHalfway + Zeros(5000), 1.0f},
        {SingleHalfway + Zeros(5000) + "1", next},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        InputStream in = InputStream::FromMemory(c.text);
        float value = 0;
        EXPECT_EQ(ScanSingle(in, value), 1);
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(in.Peek(), InputStream::EndOfFile);
    }
}

}  // namespace
}  // namespace gatool
