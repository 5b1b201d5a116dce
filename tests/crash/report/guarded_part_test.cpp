// \brief A part of the report that fails gives the internal error text with the place that asked
// for it; a part that succeeds gives its own text.
#include "crash/report/guarded_part.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrix {
namespace {

TEST(GuardedPartText, AFailureReplacesOnlyThatPartsText) {
    EXPECT_EQ(GuardedPartText(
                  "GetStackDump", [] { return std::string("dump"); }, true, false),
              "dump");
    const std::string text = GuardedPartText(
        "GetStackDump", []() -> std::string { throw std::runtime_error("unreadable"); }, true,
        false);
    EXPECT_TRUE(text.starts_with(">> internal error in GetStackDump:\r\n")) << text;
    // The place is this test, named through the program's debug information.
    EXPECT_NE(text.find("AFailureReplacesOnlyThatPartsText"), std::string::npos) << text;
    EXPECT_EQ(text.find('\n', text.find('\n') + 1), std::string::npos) << text;
}

}  // namespace
}  // namespace kestrix
