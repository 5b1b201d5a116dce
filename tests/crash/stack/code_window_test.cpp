// Tests of the code window at the end of readable memory and across its blocks.
#include "crash/stack/code_window.h"

#include <gtest/gtest.h>

#include <numeric>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/guarded_read.h"
#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {
namespace {

TEST(CodeWindow, GivesTheBytesAnInstructionMayNeedAsFarAsTheyCanBeRead) {
    ASSERT_TRUE(StartTryRead());
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    std::iota(pages.Readable(), pages.Readable() + Page, std::uint8_t{0});
    const std::uintptr_t start = pages.ReadableStart();
    TCodeWindow window;
    struct Case {
        const char* name;
        std::uintptr_t address;
        std::size_t size;
    };
    const Case cases[] = {
        {"the page start", start, MaxInstructionLength},
        {"inside the block read", start + 100, MaxInstructionLength},
        {"near the end of the readable page", start + Page - 5, 5},
        {"back inside the page", start + 7, MaxInstructionLength},
        {"the inaccessible page", pages.InaccessibleStart(), 0},
        {"again readable", start + Page - 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = window.At(c.address);
        ASSERT_EQ(bytes.size(), c.size);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(bytes[i], std::byte(static_cast<std::uint8_t>(c.address - start + i)));
    }
}

}  // namespace
}  // namespace kestrix
