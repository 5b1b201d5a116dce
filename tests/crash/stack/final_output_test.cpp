// Tests of the final output's naming of an item through its caller's link: the procedure the link
// names holds the item's call, unless the callee reached the item's procedure by a tail call.
#include "crash/stack/final_output.h"

#include <gtest/gtest.h>

#include "crash/stack/guarded_read.h"
#include "crash/stack/procedure_identification.h"

namespace kestrix {
namespace {

[[gnu::noinline]] int NamedProcedure(int value) {
    asm volatile("");
    return value * 7;
}

class FinalOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(StartTryRead());
        m_code = reinterpret_cast<std::uintptr_t>(&NamedProcedure) + 1;
        const auto identity = IdentifyProcedure(m_code);
        ASSERT_TRUE(identity.has_value());
        m_identity = *identity;
    }

    // One valid item whose caller's approved link names the procedure given.
    TInternalStackItem Resolve(TProcedure& linked) {
        TStackWalk walk(m_params, std::nullopt, 0, 8, ProcessProcedureTable());
        TInternalStackItem item;
        item.Address = m_code + 4;
        item.Module = FindModule(m_code);
        item.Up.Links.push_back(
            {.Other = std::nullopt, .CodeAddress = m_code, .Procedure = &linked});
        walk.Items = {item};
        FillFinalOutput(walk);
        return walk.Items.front();
    }

    const TStackTraceParams m_params;
    std::uintptr_t m_code = 0;
    TProcedureIdentity m_identity;
};

TEST_F(FinalOutputTest, NamesTheItemAfterTheLinkedProcedureThatHoldsItsCall) {
    TProcedure linked;
    linked.Entry = m_identity.Entry;
    linked.Name = "linked name";
    linked.ExtentEnd = m_code + 16;
    linked.Approved = true;
    const TInternalStackItem item = Resolve(linked);
    EXPECT_EQ(item.ProcedureName, "linked name");
    EXPECT_EQ(item.ProcedureStart, m_identity.Entry);
}

TEST_F(FinalOutputTest, NamesTheItemAfterItsOwnProcedureWhenTheLinkedOneJumpedThere) {
    // The caller called a procedure that lies elsewhere and tail-called this one.
    TProcedure linked;
    linked.Entry = m_code + 0x40;
    linked.Name = "tail caller";
    linked.ExtentEnd = m_code + 0x80;
    linked.Approved = true;
    const TInternalStackItem item = Resolve(linked);
    EXPECT_EQ(item.ProcedureName, m_identity.Name);
    ASSERT_TRUE(item.ProcedureStart.has_value());
    EXPECT_LE(*item.ProcedureStart, item.CodeAddress);
    EXPECT_EQ(item.CodeAddress, m_code);
}

}  // namespace
}  // namespace kestrix
