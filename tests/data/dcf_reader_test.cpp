// Tests of the DCF reader: the row order, reads that stop, and what is left unread.
#include "data/dcf_reader.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"

namespace gatool {
namespace {

DispersionCoefficients Read(const std::string& text, DispersionCoefficients table = {}) {
    InputStream in = InputStream::FromMemory(text);
    ReadDcfFile(table, in);
    return table;
}

DispersionCoefficients Filled(double value) {
    DispersionCoefficients table;
    for (auto& row : table) {
        row.fill(value);
    }
    return table;
}

TEST(ReadDcfFile, FillsRowsOneToFiveAndThenRowZero) {
    const DispersionCoefficients table = Read("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18");
    const DispersionCoefficients expected{
        {{16, 17, 18}, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}}};
    EXPECT_EQ(table, expected);
    // Any white space separates the numbers.
    EXPECT_EQ(Read("1\r\n2\t3\n\n4 5 6\r7 8 9 10 11 12 13 14 15 16 17 18\r\n"), expected);
}

TEST(ReadDcfFile, ReadsNothingAfterTheEighteenthNumber) {
    InputStream in = InputStream::FromMemory("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 x");
    DispersionCoefficients table{};
    ReadDcfFile(table, in);
    EXPECT_EQ(table[0][2], 18);
    EXPECT_EQ(in.Peek(), ' ');
}

TEST(ReadDcfFile, KeepsTheEntriesFromTheFirstUnreadableNumberOn) {
    struct Case {
        const char* text;
        int entriesRead;  // in file order
    } const cases[] = {
        {"1 2 3 4 5 6 x 8 9 10 11 12 13 14 15 16 17 18", 6},
        {"1 2 3 4 5 6 7 8 9 10", 10},
        {"", 0},
        {"3,5 1 2", 1},  // "3" is read, then every read stops at the comma
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 -", 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DispersionCoefficients table = Filled(-7);
        InputStream in = InputStream::FromMemory(c.text);
        EXPECT_EQ(ReadDcfFile(table, in), c.entriesRead);
        int entry = 0;
        for (const std::size_t row : {1, 2, 3, 4, 5, 0}) {
            for (const double coefficient : table[row]) {
                ++entry;
                EXPECT_EQ(coefficient == -7, entry > c.entriesRead) << "entry " << entry;
            }
        }
    }
}

TEST(ReadDcfFile, RaisesOverflowForANumberBeyondTheDoubleRange) {
    EXPECT_THROW(Read("1 2 1e400"), EOverflow);
}

}  // namespace
}  // namespace gatool
