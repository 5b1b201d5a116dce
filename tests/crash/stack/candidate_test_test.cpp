// Tests of the candidate test on this program's own code, which carries its debug information:
// return addresses of real calls, values that only look like them, the failure location's rules.
#include "crash/stack/candidate_test.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "crash/stack/after_call_test.h"
#include "crash/stack/guarded_read.h"
#include "tests/crash/stack/guarded_pages.h"
#include "tests/crash/stack/return_address.h"

// Two procedures that are only analysed, never run: one whose move of 0xe8 looks like a call to
// the after-call test, and one that calls the routine raising an exception.
extern "C" void KestrixFakeCallSite();
extern "C" void KestrixRaisingSite();
asm(R"(
    .text
    .globl KestrixFakeCallSite
    .type KestrixFakeCallSite, @function
KestrixFakeCallSite:
    movl $0xe8, %eax
    nop
    nop
    nop
    nop
    ret
    .size KestrixFakeCallSite, .-KestrixFakeCallSite
    .globl KestrixRaisingSite
    .type KestrixRaisingSite, @function
KestrixRaisingSite:
    call __cxa_throw@PLT
    ret
    .size KestrixRaisingSite, .-KestrixRaisingSite
)");

namespace kestrix {
namespace {

// Writable data whose bytes 3 to 7 look like a call ending at byte 8.
std::uint8_t g_callLikeData[16] = {0x90, 0x90, 0x90, 0xe8, 0, 0, 0, 0, 0x90};

std::uintptr_t FakeCallSite() {
    return reinterpret_cast<std::uintptr_t>(&KestrixFakeCallSite);
}
std::uintptr_t RaisingSite() {
    return reinterpret_cast<std::uintptr_t>(&KestrixRaisingSite);
}

class CandidateTestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTryRead());
        // Binds the raise routine's linkage-table entry, as a program that has thrown once.
        try {
            throw std::runtime_error("bind the throw");
        } catch (const std::exception&) {
        }
    }

    std::optional<TCandidate> Test(std::uintptr_t value,
                                   TCandidateKind kind,
                                   TTraceKind trace = {}) {
        return TCandidateTest(m_table, m_disassembler, m_regions, trace).Test(value, kind);
    }

    CodeDisassembler m_disassembler;
    TProcedureTable m_table{m_disassembler};
    TMemoryRegions m_regions = TMemoryRegions::Snapshot();
};

TEST_F(CandidateTestTest, TheReturnAddressOfARealCallIsVerifiedByItsProcedure) {
    const std::uintptr_t returnAddress = ReturnAddress();
    const auto candidate = Test(returnAddress, TCandidateKind::ckSlot);
    ASSERT_TRUE(candidate.has_value());
    EXPECT_TRUE(candidate->Verified);
    EXPECT_EQ(candidate->Address, returnAddress);
    EXPECT_FALSE(candidate->Anchor);
    EXPECT_FALSE(candidate->Location);
    ASSERT_TRUE(candidate->Call.has_value());
    EXPECT_EQ(candidate->Call->CodeAddress, returnAddress - 5);
    EXPECT_TRUE(candidate->Call->TargetKnown);
    EXPECT_EQ(candidate->Call->Target, reinterpret_cast<std::uintptr_t>(&ReturnAddress));
    ASSERT_NE(candidate->Procedure, nullptr);
    EXPECT_TRUE(candidate->Procedure->Approved);
    EXPECT_LT(candidate->Procedure->Entry, returnAddress);
    ASSERT_NE(candidate->Module, nullptr);
    EXPECT_TRUE(candidate->Module->IsExecutable);
}

TEST_F(CandidateTestTest, AValueThatOnlyLooksLikeAReturnAddressIsNoItem) {
    const std::uintptr_t lookAlike = FakeCallSite() + 6;
    ASSERT_TRUE(PassesAfterCallTest(lookAlike));
    EXPECT_FALSE(Test(lookAlike, TCandidateKind::ckSlot).has_value());
    // From the frame chain it is still an item, an anchor that nothing verified.
    const auto anchor = Test(lookAlike, TCandidateKind::ckAnchor);
    ASSERT_TRUE(anchor.has_value());
    EXPECT_TRUE(anchor->Anchor);
    EXPECT_FALSE(anchor->Verified);

    GuardedPages pages(GuardedPages::InaccessibleAbove);
    for (const std::uintptr_t value :
         {std::uintptr_t{0}, std::uintptr_t{5}, pages.InaccessibleStart() + 16,
          reinterpret_cast<std::uintptr_t>(&KestrixFakeCallSite)}) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(Test(value, TCandidateKind::ckSlot).has_value());
    }
}

TEST_F(CandidateTestTest, InAModulesDataTheBasicTestDecides) {
    const auto value = reinterpret_cast<std::uintptr_t>(&g_callLikeData[8]);
    const auto candidate = Test(value, TCandidateKind::ckSlot);
    ASSERT_TRUE(candidate.has_value());
    EXPECT_FALSE(candidate->Verified);
    EXPECT_EQ(candidate->Procedure, nullptr);
}

TEST_F(CandidateTestTest, TheLocationStartsAnInstructionOrFollowsARaise) {
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    const std::uintptr_t unreadable = pages.InaccessibleStart() + 16;
    struct Case {
        const char* name;
        std::uintptr_t value;
        TTraceKind trace;
        bool verified;
        std::uintptr_t codeAddress;
        std::uintptr_t address;
    };
    const Case cases[] = {
        {"a fault on an instruction",
         FakeCallSite() + 6,
         {true, true, 0},
         true,
         FakeCallSite() + 6,
         FakeCallSite() + 7},
        {"a trace of a running thread",
         FakeCallSite() + 5,
         {},
         true,
         FakeCallSite() + 5,
         FakeCallSite() + 6},
        {"a fault inside an instruction",
         FakeCallSite() + 2,
         {true, true, 0},
         false,
         FakeCallSite() + 2,
         FakeCallSite() + 4},
        {"an exception raised by a call",
         RaisingSite() + 5,
         {true, false, 0},
         true,
         RaisingSite(),
         RaisingSite() + 5},
        {"a jump into unreadable memory",
         unreadable,
         {true, true, 0},
         true,
         unreadable,
         unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto candidate = Test(c.value, TCandidateKind::ckLocation, c.trace);
        ASSERT_TRUE(candidate.has_value());
        EXPECT_TRUE(candidate->Location);
        EXPECT_TRUE(candidate->Anchor);
        EXPECT_EQ(candidate->Verified, c.verified);
        ASSERT_TRUE(candidate->Call.has_value());
        EXPECT_EQ(candidate->Call->CodeAddress, c.codeAddress);
        EXPECT_EQ(candidate->Address, c.address);
    }
}

TEST_F(CandidateTestTest, TheLocationFollowsARaiseOnlyWhereTheRaiseRuleApplies) {
    const TTraceKind exception{true, false, 0};
    const TCandidateTest test(m_table, m_disassembler, m_regions, exception);
    TProcedure* procedure = m_table.ProcedureContaining(RaisingSite());
    ASSERT_NE(procedure, nullptr);
    const std::uintptr_t afterRaise = RaisingSite() + 5;
    const auto raised = test.Verify(*procedure, afterRaise, true);
    ASSERT_TRUE(raised.has_value());
    EXPECT_EQ(raised->CodeAddress, RaisingSite());
    // Without the rule the address only starts the next instruction.
    const auto started = test.Verify(*procedure, afterRaise, true, TRaiseRule::rrIgnore);
    ASSERT_TRUE(started.has_value());
    EXPECT_EQ(started->CodeAddress, afterRaise);
}

}  // namespace
}  // namespace kestrix
