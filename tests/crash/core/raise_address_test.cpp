// The exception address of a throw: the start of the call in front of a return address, and the
// completed values of a caught exception, whose address is the raising function's call of the
// throw path.
#include "crash/core/raise_address.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <stdexcept>

#include "crash/core/handle_exception.h"
#include "crash/core/raise_time_stacks.h"
#include "crash/stack/code_disassembler.h"
#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

[[gnu::noinline]] std::uintptr_t ReturnAddressOfThisCall() {
    return reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
}

std::uintptr_t (*volatile g_indirectCallee)() = &ReturnAddressOfThisCall;

// The empty statement after each call keeps it a call rather than a jump that ends the caller.
[[gnu::noinline]] std::uintptr_t ByDirectCall() {
    const std::uintptr_t returnAddress = ReturnAddressOfThisCall();
    asm volatile("" ::: "memory");
    return returnAddress;
}

[[gnu::noinline]] std::uintptr_t ByIndirectCall() {
    const std::uintptr_t returnAddress = g_indirectCallee();
    asm volatile("" ::: "memory");
    return returnAddress;
}

class CallInstruction : public ::testing::Test {
  protected:
    void SetUp() override { StartTryRead(); }
    const CodeDisassembler m_disassembler;
};

TEST_F(CallInstruction, StartsTheCallThatEndsAtTheReturnAddress) {
    const struct {
        const char* Name;
        std::uintptr_t (*Call)();
    } calls[] = {{"direct call", &ByDirectCall}, {"indirect call", &ByIndirectCall}};
    for (const auto& each : calls) {
        SCOPED_TRACE(each.Name);
        const std::uintptr_t returnAddress = each.Call();
        const std::uintptr_t start = CallInstructionBefore(returnAddress);
        ASSERT_LT(start, returnAddress);
        const auto instruction = m_disassembler.Decode(start);
        ASSERT_TRUE(instruction.has_value());
        EXPECT_TRUE(instruction->IsCall());
        EXPECT_EQ(instruction->Next(), returnAddress);
    }
}

TEST_F(CallInstruction, KeepsAnAddressThatNoCallEndsAt) {
    static const std::array<std::byte, 32> noCode{};
    const auto inData = reinterpret_cast<std::uintptr_t>(noCode.data() + 16);
    EXPECT_EQ(CallInstructionBefore(inData), inData);
    EXPECT_EQ(CallInstructionBefore(3), 3u);
    EXPECT_EQ(CallInstructionBefore(0x1000), 0x1000u);
}

[[gnu::noinline]] void RaiseHere() {
    throw std::runtime_error("raised here");
}

TEST(CompleteExceptionValues, GiveACaughtExceptionTheAddressOfItsRaise) {
    StartTryRead();
    ExceptionValues values;
    try {
        RaiseHere();
    } catch (...) {
        CompleteExceptionValues(values);
    }
    const auto raising = reinterpret_cast<std::uintptr_t>(&RaiseHere);
    EXPECT_GT(values.Address, raising);
    EXPECT_LT(values.Address, raising + 256);
    const auto instruction = CodeDisassembler().Decode(values.Address);
    ASSERT_TRUE(instruction.has_value());
    EXPECT_TRUE(instruction->IsCall());
    EXPECT_EQ(instruction->Next(), RaiseReturnAddressOf(values.Object.Object));
}

}  // namespace
}  // namespace kestrix
