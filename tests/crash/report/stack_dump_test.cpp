// \brief The stack dump: its line format, the end of the memory region and unreadable memory.
#include "crash/report/stack_dump.h"

#include <gtest/gtest.h>

#include "crash/report/hex_text.h"
#include "crash/report/text_lines.h"
#include "crash/report/thread_section_texts.h"
#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {
namespace {

// A readable page in front of an inaccessible one, filled with the byte values 0, 1, 2, ...
class StackDumpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (std::size_t i = 0; i < Page; ++i)
            m_pages.Readable()[i] = static_cast<std::uint8_t>(i);
    }
    std::uintptr_t At(std::size_t offset) const { return m_pages.ReadableStart() + offset; }

    GuardedPages m_pages{GuardedPages::InaccessibleAbove};
};

TEST_F(StackDumpTest, WritesTwentyLinesOfBytesAndCharacters) {
    const std::string dump = GetStackDump(At(0x40));
    const auto lines = SplitLines(dump);
    ASSERT_EQ(lines.size(), StackDumpLines);
    EXPECT_EQ(lines[0],
              HexAddress(At(0x40)) +
                  "  40 41 42 43 44 45 46 47 - 48 49 4a 4b 4c 4d 4e 4f  @ABCDEFGHIJKLMNO");
    // Codes below 33 and above 126 show as dots.
    EXPECT_EQ(lines[12],
              HexAddress(At(0x100)) +
                  "  00 01 02 03 04 05 06 07 - 08 09 0a 0b 0c 0d 0e 0f  ................");
    EXPECT_EQ(lines[19].substr(0, AddressDigits), HexAddress(At(0x170)));
}

TEST_F(StackDumpTest, EndsAtTheEndOfTheRegion) {
    const std::string dump = GetStackDump(At(Page - 0x1c));
    const auto lines = SplitLines(dump);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              HexAddress(At(Page - 0x1c)) +
                  "  e4 e5 e6 e7 e8 e9 ea eb - ec ed ee ef f0 f1 f2 f3  ................");
    EXPECT_EQ(lines[1], HexAddress(At(Page - 0xc)) + "  f4 f5 f6 f7 f8 f9 fa fb - fc fd fe ff " +
                            std::string(4 * 3, ' ') + " ............");
    // With the ninth byte beyond the region, two blanks take the place of "- ".
    EXPECT_EQ(GetStackDump(At(Page - 3)), HexAddress(At(Page - 3)) + "  fd fe ff " +
                                              std::string(5 * 3 + 2 + 8 * 3, ' ') + " ...");
}

TEST_F(StackDumpTest, AStackPointerOutsideReadableMemoryIsNotAccessible) {
    EXPECT_EQ(GetStackDump(m_pages.InaccessibleStart() + 8), StackNotAccessible);
    EXPECT_EQ(GetStackDump(0), StackNotAccessible);
}

TEST(GetStackDump, DumpsTheRealStackOfThisThread) {
    volatile std::uint64_t marker = 0x2a2a2a2a2a2a2a2aULL;
    const auto address = reinterpret_cast<std::uintptr_t>(&marker);
    const std::string dump = GetStackDump(address);
    const auto lines = SplitLines(dump);
    ASSERT_EQ(lines.size(), StackDumpLines);
    EXPECT_EQ(lines[0].substr(0, AddressDigits + 2 + 8 * 3),
              HexAddress(address) + "  2a 2a 2a 2a 2a 2a 2a 2a ");
    EXPECT_EQ(marker, 0x2a2a2a2a2a2a2a2aULL);
}

}  // namespace
}  // namespace kestrix
