// \brief The rendering rule of the report text, case by case with the exact text expected.
#include "crash/report/report_rendering.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

namespace kestrix {
namespace {

using Items = std::vector<std::pair<std::string, std::string>>;

std::shared_ptr<IKXFields> Fields(const Items& items) {
    auto fields = NewFields();
    for (const auto& [name, content] : items)
        fields->Insert(fields->Count(), name, content);
    return fields;
}

struct RenderingCase {
    const char* what;
    Items header;
    Items sections;
    std::string expected;
};

TEST(RenderBugReport, RendersEveryCaseExactly) {
    const std::vector<RenderingCase> cases{
        RenderingCase{"names are padded to the longest name plus one",
                      {{"date/time", "2026-12-10, 13:16:56, 7ms"}, {"exception message", "Boom."}},
                      {},
                      "date/time         : 2026-12-10, 13:16:56, 7ms\r\n"
                      "exception message : Boom."},
        RenderingCase{"line breaks of every kind and runs of blanks become one blank",
                      {{"a", "one\r\ntwo\rthree\nfour  five \r\n six"}},
                      {},
                      "a : one two three four five six"},
        RenderingCase{"leading and trailing blanks of a content stay single",
                      {{"a", "  x  "}, {"b", ""}},
                      {},
                      "a :  x \r\nb : "},
        RenderingCase{"sections follow the header after an empty line, with a colon appended",
                      {{"version", "1.0"}},
                      {{"main thread", "line 1\r\nline 2"}, {"registers:", "rax"}},
                      "version : 1.0\r\n\r\nmain thread:\r\nline 1\r\nline 2"
                      "\r\n\r\nregisters:\r\nrax"},
        RenderingCase{"a name holding a colon anywhere gets none appended",
                      {},
                      {{"thread $1a: <suspended>", "x"}},
                      "\r\n\r\nthread $1a: <suspended>\r\nx"},
        RenderingCase{"empty lines become a dot and trailing blanks go, leading ones stay",
                      {},
                      {{"s", "a  \r\n\r\n   \n  b\r\rc"}},
                      "\r\n\r\ns:\r\na\r\n.\r\n.\r\n  b\r\n.\r\nc"},
        RenderingCase{"a line break at the end of a content starts no further line",
                      {},
                      {{"s", "a\r\n"}, {"t", "\n"}, {"u", ""}},
                      "\r\n\r\ns:\r\na\r\n\r\nt:\r\n.\r\n\r\nu:"},
        RenderingCase{"nothing at all", {}, {}, ""}};
    for (const RenderingCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RenderBugReport(*Fields(c.header), *Fields(c.sections)), c.expected);
    }
}

TEST(RenderBugReport, LeavesTheListsUnlockedForOtherThreads) {
    const auto header = Fields({{"a", "1"}});
    const auto sections = Fields({{"s", "x"}});
    RenderBugReport(*header, *sections);
    std::thread writer([&] { header->SetContent("b", "2"); });
    writer.join();
    EXPECT_EQ(RenderBugReport(*header, *sections), "a : 1\r\nb : 2\r\n\r\ns:\r\nx");
}

}  // namespace
}  // namespace kestrix
