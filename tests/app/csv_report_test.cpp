// Tests of the fields of the CSV output.
#include "app/csv_report.h"

#include <gtest/gtest.h>

namespace gatool {
namespace {

TEST(CsvField, QuotesOnlyWhatASpreadsheetWouldSplitOrTrim) {
    struct Case {
        const char* text;
        const char* field;
    } const cases[] = {
        {"GA_sample.txt", "GA_sample.txt"},
        {"", ""},
        {"/data/GA 1.txt", "/data/GA 1.txt"},
        {"GA,1.txt", "\"GA,1.txt\""},
        {"GA\"1\".txt", "\"GA\"\"1\"\".txt\""},
        {"GA\n1", "\"GA\n1\""},
        {"GA\r1", "\"GA\r1\""},
        {" GA1", "\" GA1\""},
        {"GA1 ", "\"GA1 \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CsvField(c.text), c.field);
    }
}

}  // namespace
}  // namespace gatool
