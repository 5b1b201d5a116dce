// Tests of splitting texts into lines.
#include "chart/text_lines.h"

#include <gtest/gtest.h>

namespace gatool {
namespace {

TEST(SplitLines, BreaksAtEveryKindOfLineEndAndDropsABreakAtTheEnd) {
    struct Case {
        std::string Text;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"", {}},
        {"GS = 1  GI = 0", {"GS = 1  GI = 0"}},
        {"a\n", {"a"}},
        {"\n", {""}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Text));
        EXPECT_EQ(SplitLines(c.Text), c.Lines);
    }
}

}  // namespace
}  // namespace gatool
