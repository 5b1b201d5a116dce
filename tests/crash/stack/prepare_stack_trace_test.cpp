// Tests of the after-call test, the frame chain and the raise-time capture, on encoded calls, on
// a made-up stack and on this thread's real stack.
#include "crash/stack/prepare_stack_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "crash/stack/after_call_test.h"
#include "crash/stack/frame_chain.h"
#include "tests/crash/stack/code_page.h"
#include "tests/crash/stack/return_address.h"

namespace kestrix {
namespace {

TEST_F(CodePage, AfterCallTestKnowsTheCallsThatEndAtAValue) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool passes;
    };
    for (const Case& c : {
             Case{"call rel32", {0xe8, 0x10, 0x20, 0x30, 0x40}, true},
             Case{"call rax", {0xff, 0xd0}, true},
             Case{"call r8", {0x41, 0xff, 0xd0}, true},
             Case{"call [rax+8]", {0xff, 0x50, 0x08}, true},
             Case{"call [rsp+8]", {0xff, 0x54, 0x24, 0x08}, true},
             Case{"call [rip+disp32]", {0xff, 0x15, 0x10, 0x20, 0x30, 0x00}, true},
             Case{"call [rsp+disp32]", {0xff, 0x94, 0x24, 0x10, 0x20, 0x30, 0x00}, true},
             Case{"call far [rax]", {0xff, 0x18}, true},
             Case{"jmp rax", {0xff, 0xe0}, false},
             Case{"push [rax]", {0xff, 0x30}, false},
             Case{"inc eax", {0xff, 0xc0}, false},
             Case{"nops", {0x90, 0x90, 0x90}, false},
         }) {
        SCOPED_TRACE(c.name);
        Place(0x100, {{Bytes(8, 0x90), false}});
        const std::uintptr_t end =
            Place(0x108 - c.bytes.size(), {{c.bytes, false}}).front() + c.bytes.size();
        EXPECT_EQ(PassesAfterCallTest(end), c.passes);
    }
    // The bytes in front must be readable.
    Place(Page - 5, {{{0xe8, 0, 0, 0, 0}, false}});
    EXPECT_TRUE(PassesAfterCallTest(Start() + Page));
    EXPECT_FALSE(PassesAfterCallTest(Start() + Page + 4));
    EXPECT_FALSE(PassesAfterCallTest(5));
}

TEST(AfterCallTest, PassesTheReturnAddressesOfCompiledCalls) {
    ASSERT_TRUE(StartTryRead());
    EXPECT_TRUE(PassesAfterCallTest(ReturnAddress()));
    EXPECT_FALSE(PassesAfterCallTest(reinterpret_cast<std::uintptr_t>(&ReturnAddress)));
}

// A made-up stack of 16 slots in a page of its own, above an inaccessible page, with a frame
// chain through slots 2, 6 and 9 whose return-address slots are 3, 7 and 10.
class FakeStack : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTryRead());
        m_slots = reinterpret_cast<std::uintptr_t*>(m_pages.Readable());
        for (std::uintptr_t& address : m_returns)
            address = ReturnAddress();
        m_slots[15] = m_returns[0];
        m_slots[13] = 5;
        m_slots[11] = reinterpret_cast<std::uintptr_t>(&m_slots[11]);  // data, no code
        m_slots[10] = m_returns[1];
        m_slots[9] = m_returns[5];  // the last frame pointer: lower, so the chain ends
        m_slots[7] = m_returns[2];
        m_slots[6] = SlotAddress(9);
        m_slots[5] = m_returns[3];
        m_slots[3] = m_returns[4];
        m_slots[2] = SlotAddress(6);
        m_slots[0] = m_returns[5];
        ASSERT_LT(m_returns[5], SlotAddress(9));
    }
    std::uintptr_t SlotAddress(std::size_t index) const {
        return reinterpret_cast<std::uintptr_t>(&m_slots[index]);
    }

    GuardedPages m_pages{GuardedPages::InaccessibleBelow};
    std::uintptr_t* m_slots = nullptr;
    std::array<std::uintptr_t, 6> m_returns{};
};

TEST_F(FakeStack, FollowsTheFrameChainOutwards) {
    EXPECT_EQ(FrameChainSlots(SlotAddress(2), SlotAddress(0), SlotAddress(16)),
              (std::vector{SlotAddress(3), SlotAddress(7), SlotAddress(10)}));
    // Only slots above the bottom count, and only below the top.
    EXPECT_EQ(FrameChainSlots(SlotAddress(2), SlotAddress(4), SlotAddress(16)),
              (std::vector{SlotAddress(7), SlotAddress(10)}));
    EXPECT_EQ(FrameChainSlots(SlotAddress(2), SlotAddress(0), SlotAddress(10)),
              (std::vector{SlotAddress(3), SlotAddress(7)}));
    EXPECT_TRUE(FrameChainSlots(0, SlotAddress(0), SlotAddress(16)).empty());
    // A frame pointer into unreadable memory ends the chain after its own slot.
    const std::uintptr_t unreadable = m_pages.InaccessibleStart() + 64;
    EXPECT_EQ(FrameChainSlots(unreadable, unreadable, SlotAddress(16)),
              (std::vector{unreadable + 8}));
}

TEST_F(FakeStack, KeepsEveryPossibleReturnAddressFromTheTopDown) {
    TDAPreStackItem items;
    ASSERT_EQ(PrepareStackTrace(SlotAddress(2), SlotAddress(16), SlotAddress(0), items), 6u);
    // The saved frame pointer below each frame-chain slot is passed over: slot 9 holds a return
    // address but is not listed.
    const std::vector<std::pair<int, std::uintptr_t>> expected{
        {0, m_returns[0]}, {1, m_returns[1]}, {1, m_returns[2]},
        {0, m_returns[3]}, {1, m_returns[4]}, {0, m_returns[5]}};
    std::vector<std::pair<int, std::uintptr_t>> found;
    for (const TPreStackItem& item : items)
        found.emplace_back(item.FrameChainSlot, item.Address);
    EXPECT_EQ(found, expected);

    EXPECT_EQ(PrepareStackTrace(SlotAddress(2), SlotAddress(16), SlotAddress(0), items, 5), 1u);
    EXPECT_EQ(items.front().Address, m_returns[0]);

    // Without a frame pointer no slot is flagged, and slot 9 counts.
    EXPECT_EQ(PrepareStackTrace(0, SlotAddress(16), SlotAddress(0), items), 7u);
    EXPECT_TRUE(std::none_of(items.begin(), items.end(),
                             [](const TPreStackItem& item) { return item.FrameChainSlot != 0; }));
}

TEST_F(FakeStack, AnUnreadableStackGivesNoItems) {
    TDAPreStackItem items{{1, 1234}};
    EXPECT_EQ(PrepareStackTrace(0, SlotAddress(16), SlotAddress(0) - 64, items), 0u);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(PrepareStackTrace(0, SlotAddress(0), SlotAddress(16), items), 0u);
}

// Captures the stack and tells where it returns to in its caller.
[[gnu::noinline]] std::size_t CaptureHere(TDAPreStackItem& items, std::uintptr_t& returnAddress) {
    returnAddress = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    const std::size_t count = PrepareStackTrace(0, std::nullopt, std::nullopt, items);
    asm volatile("");
    return count;
}

TEST(PrepareStackTrace, OnTheThreadsOwnStackFindsTheCallerOfTheCapture) {
    ASSERT_TRUE(StartTryRead());
    TDAPreStackItem items;
    std::uintptr_t intoTheTest = 0;
    const std::size_t count = CaptureHere(items, intoTheTest);
    EXPECT_EQ(count, items.size());
    ASSERT_GT(count, 0u);
    EXPECT_TRUE(std::any_of(items.begin(), items.end(), [&](const TPreStackItem& item) {
        return item.Address == intoTheTest;
    }));
}

}  // namespace
}  // namespace kestrix
