// Tests of the guarded reads: readable memory reads, unreadable memory fails without a fault.
#include "crash/stack/guarded_read.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/crash/stack/guarded_pages.h"

namespace kestrix {
namespace {

// Two pages: the first readable, the second without access.
class GuardedReadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTryRead());
        for (std::size_t i = 0; i < Page; ++i)
            m_pages[i] = static_cast<std::uint8_t>(i * 7);
    }

    std::uintptr_t At(std::size_t offset) const { return m_guarded.ReadableStart() + offset; }

    GuardedPages m_guarded{GuardedPages::InaccessibleAbove};
    std::uint8_t* m_pages = m_guarded.Readable();
};

TEST_F(GuardedReadTest, ReadsReadableMemory) {
    std::array<std::byte, 16> buffer{};
    ASSERT_TRUE(TryRead(At(100), buffer));
    EXPECT_EQ(std::memcmp(buffer.data(), m_pages + 100, buffer.size()), 0);
    EXPECT_EQ(TryReadValue<std::uint8_t>(At(3)), std::uint8_t{21});
}

TEST_F(GuardedReadTest, UnreadableMemoryFailsWithoutAFault) {
    std::array<std::byte, 8> buffer{};
    struct Case {
        const char* what;
        std::uintptr_t address;
    };
    for (const Case& c :
         {Case{"page without access", At(Page + 8)}, Case{"range crossing into it", At(Page - 4)},
          Case{"address 0", 0}, Case{"wrapping range", ~std::uintptr_t{0} - 3},
          Case{"kernel half", 0xffff800000000000u}}) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(TryRead(c.address, buffer));
        EXPECT_FALSE(TryReadValue<std::uint64_t>(c.address).has_value());
    }
}

TEST_F(GuardedReadTest, PrefixStopsAtTheFirstUnreadablePage) {
    std::array<std::byte, 15> buffer{};
    EXPECT_EQ(TryReadPrefix(At(Page - 5), buffer), 5u);
    EXPECT_EQ(std::memcmp(buffer.data(), m_pages + Page - 5, 5), 0);
    EXPECT_EQ(TryReadPrefix(At(Page - 40), buffer), buffer.size());
    EXPECT_EQ(TryReadPrefix(At(Page), buffer), 0u);
}

}  // namespace
}  // namespace kestrix
