// Tests of the aligned text tables.
#include "app/text_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace gatool {
namespace {

std::string Printed(const TextTable& table) {
    std::ostringstream out;
    table.Print(out);
    return out.str();
}

TEST(TextTable, RightAlignsEveryColumnToItsWidestCell) {
    TextTable table({"scan", "height"});
    table.AddRow({"0", "202682.4"});
    table.AddRow({"12", "-3.1"});
    EXPECT_EQ(Printed(table),
              "scan    height\n"
              "   0  202682.4\n"
              "  12      -3.1\n");
}

TEST(TextTable, CountsCharactersNotBytes) {
    // A decimal mark of two bytes (U+066B) takes one column.
    TextTable table({"loss"});
    table.AddRow({"0\u066B25"});
    table.AddRow({"12\u066B5"});
    EXPECT_EQ(Printed(table),
              "loss\n"
              "0\u066B25\n"
              "12\u066B5\n");
}

TEST(TextTable, RefusesARowOfAnotherWidth) {
    TextTable table({"a", "b"});
    EXPECT_THROW(table.AddRow({"1"}), std::invalid_argument);
    EXPECT_THROW(table.AddRow({"1", "2", "3"}), std::invalid_argument);
}

}  // namespace
}  // namespace gatool
