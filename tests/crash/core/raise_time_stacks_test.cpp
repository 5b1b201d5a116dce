// Raise-time stacks through the interposed throw path: every new object keeps the stack of its
// raise, a rethrow of the same object keeps the first one.
#include "crash/core/raise_time_stacks.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace kestrix {
namespace {

[[gnu::noinline]] void RaiseOne() {
    throw std::runtime_error("raised");
}

std::exception_ptr Raised() {
    try {
        RaiseOne();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

const void* ObjectOf(const std::exception_ptr& exception) {
    return ThrownObjectOf(exception).Object;
}

TEST(RaiseTimeStacks, KeepTheStackOfEveryRaise) {
    const std::exception_ptr raised = Raised();
    const auto stack = PreparedStackOf(ObjectOf(raised));
    ASSERT_NE(stack, nullptr);
    EXPECT_FALSE(stack->empty());
}

TEST(RaiseTimeStacks, KeepTheFirstStackWhenTheSameObjectIsRaisedAgain) {
    const std::exception_ptr raised = Raised();
    const auto first = PreparedStackOf(ObjectOf(raised));
    std::exception_ptr again;
    try {
        try {
            std::rethrow_exception(raised);
        } catch (...) {
            throw;
        }
    } catch (...) {
        again = std::current_exception();
    }
    EXPECT_EQ(ObjectOf(again), ObjectOf(raised));
    EXPECT_EQ(PreparedStackOf(ObjectOf(again)), first);
}

TEST(RaiseTimeStacks, GiveANewObjectRaisedWhileHandlingItsOwnStack) {
    const std::exception_ptr raised = Raised();
    std::exception_ptr replacement;
    try {
        std::rethrow_exception(raised);
    } catch (const std::exception& caught) {
        try {
            throw std::logic_error(caught.what());
        } catch (...) {
            replacement = std::current_exception();
        }
    }
    const auto own = PreparedStackOf(ObjectOf(replacement));
    ASSERT_NE(own, nullptr);
    EXPECT_NE(own, PreparedStackOf(ObjectOf(raised)));
}

TEST(RaiseTimeStacks, ForgetAnAddressThatHoldsANewObjectAndKnowNothingOfOthers) {
    int notThrown = 0;
    EXPECT_EQ(PreparedStackOf(&notThrown), nullptr);
    const std::exception_ptr made = std::make_exception_ptr(std::runtime_error("made, not thrown"));
    EXPECT_EQ(PreparedStackOf(ObjectOf(made)), nullptr);
}

TEST(RaiseTimeStacks, RememberThatFailureHandlingHasSeenAnObject) {
    const std::exception_ptr raised = Raised();
    EXPECT_FALSE(RaiseWasHandled(ObjectOf(raised)));
    MarkRaiseHandled(ObjectOf(raised));
    EXPECT_TRUE(RaiseWasHandled(ObjectOf(raised)));
}

// An exception kept for a later rethrow (an exception pointer, a future) while the program raises
// and catches many others.
TEST(RaiseTimeStacks, KeepTheStackOfALiveObjectHoweverManyOthersAreRaised) {
    const std::exception_ptr kept = Raised();
    const auto stack = PreparedStackOf(ObjectOf(kept));
    const std::uintptr_t returnAddress = RaiseReturnAddressOf(ObjectOf(kept));
    for (int i = 0; i < 1000; ++i) {
        (void)Raised();
    }
    EXPECT_EQ(PreparedStackOf(ObjectOf(kept)), stack);
    EXPECT_EQ(RaiseReturnAddressOf(ObjectOf(kept)), returnAddress);
}

TEST(RaiseTimeStacks, ForgetAnObjectWhenItIsFreed) {
    std::exception_ptr raised = Raised();
    const void* object = ObjectOf(raised);
    ASSERT_NE(PreparedStackOf(object), nullptr);
    raised = nullptr;
    EXPECT_EQ(PreparedStackOf(object), nullptr);
    EXPECT_EQ(RaiseReturnAddressOf(object), 0u);
}

TEST(RaiseTimeStacks, LetTheOldestGoOnlyBeyondTheLimitOfLiveObjects) {
    std::vector<std::exception_ptr> alive;
    for (std::size_t i = 0; i <= RaiseRecordLimit; ++i) {
        alive.push_back(Raised());
    }
    EXPECT_EQ(PreparedStackOf(ObjectOf(alive.front())), nullptr);
    EXPECT_NE(PreparedStackOf(ObjectOf(alive[1])), nullptr);
    EXPECT_NE(PreparedStackOf(ObjectOf(alive.back())), nullptr);
}

}  // namespace
}  // namespace kestrix
