// \brief The source-line column and the limit of the disassembly listing.
#include "crash/report/disassembly_listing.h"

#include <gtest/gtest.h>

#include <map>

#include "crash/report/hex_text.h"

namespace kestrix {
namespace {

std::vector<std::string> Numbered(std::size_t count) {
    std::vector<std::string> texts;
    for (std::size_t i = 1; i <= count; ++i)
        texts.push_back(std::to_string(i));
    return texts;
}

TEST(LimitListing, KeepsTheLinesAroundTheMarkedOne) {
    struct Case {
        const char* what;
        std::size_t count;
        std::optional<std::size_t> marked;  // index
        int limit;
        std::vector<std::string> expected;
    };
    for (const Case& c : {
             Case{"six lines up to the mark stay (5 * 12 / 10)",
                  8,
                  5,
                  5,
                  {"1", "2", "3", "4", "5", "6", "7", "8"}},
             Case{"seven lines up to the mark are cut to five before it",
                  8,
                  6,
                  5,
                  {"[...]", "2", "3", "4", "5", "6", "7", "8"}},
             Case{"at most five lines follow the mark",
                  20,
                  2,
                  5,
                  {"1", "2", "3", "4", "5", "6", "7", "8", "[...]"}},
             Case{"exactly five lines after the mark need no end mark",
                  8,
                  2,
                  5,
                  {"1", "2", "3", "4", "5", "6", "7", "8"}},
             Case{"both ends cut",
                  30,
                  15,
                  5,
                  {"[...]", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "21",
                   "[...]"}},
             Case{"a limit of 0 keeps everything", 20, 15, 0, Numbered(20)},
             Case{"without a marked line nothing is cut", 20, std::nullopt, 5, Numbered(20)},
         }) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LimitListing(Numbered(c.count), c.marked, c.limit), c.expected);
    }
}

TEST(ListingTexts, InsertsTheSourceLineWhereItChanges) {
    const std::map<std::uintptr_t, std::int32_t> sourceLines{{0x10, 7}, {0x12, 7}, {0x14, 12}};
    const LineOfAddress lineOf = [&](std::uintptr_t address) {
        const auto it = sourceLines.find(address);
        return it == sourceLines.end() ? 0 : it->second;
    };
    const std::vector<TDisAsmLine> lines{
        {0x10, "public f:"}, {0x10, "   push rbp"}, {0x12, "   call g"},
        {0x13, "", true},    {0x13, "   nop"},      {0x14, "   ret"},
    };
    const std::string a = HexAddress(0x10).substr(0, AddressDigits - 2);
    const std::string column(4, ' ');  // width 3 and its blank
    EXPECT_EQ(ListingTexts(lines, lineOf, 3),
              (std::vector<std::string>{a + "10 007 public f:", a + "10 " + column + "   push rbp",
                                        a + "12 " + column + "   call g", a + "13",
                                        a + "13 " + column + "   nop", a + "14 012    ret"}));
    EXPECT_EQ(ListingTexts(lines, lineOf, 0)[1], a + "10    push rbp");
}

}  // namespace
}  // namespace kestrix
