// Tests of the stack walker on real stacks of this program, which carries its debug information,
// and on made-up stacks that hold real return addresses among junk.
#include "crash/stack/stack_trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "crash/stack/guarded_read.h"
#include "crash/stack/stack_addr_to_str.h"
#include "tests/crash/stack/guarded_pages.h"
#include "tests/crash/stack/overflowed_stack.h"
#include "tests/crash/stack/return_address.h"

// A procedure whose call has a target in a register: it runs only in the walker's analysis. The
// label marks the return address of its call.
extern "C" void KestrixCallThrough();
extern "C" char KestrixCallThroughReturn[];
asm(R"(
    .text
    .globl KestrixCallThrough
    .type KestrixCallThrough, @function
KestrixCallThrough:
    sub $8, %rsp
    call *%rdi
    .globl KestrixCallThroughReturn
KestrixCallThroughReturn:
    add $8, %rsp
    ret
    .size KestrixCallThrough, .-KestrixCallThrough
)");

// A caller whose callee leaves by a tail call (a jump to another procedure), so that the frame
// below the caller's belongs to the procedure jumped to. Only analysed, never run.
extern "C" char KestrixTailCallerReturn[];
extern "C" char KestrixTailTargetInside[];
asm(R"(
    .text
    .globl KestrixTailCaller
    .type KestrixTailCaller, @function
KestrixTailCaller:
    sub $8, %rsp
    call KestrixTailJumper
    .globl KestrixTailCallerReturn
KestrixTailCallerReturn:
    add $8, %rsp
    ret
    .size KestrixTailCaller, .-KestrixTailCaller
    .globl KestrixTailJumper
    .type KestrixTailJumper, @function
KestrixTailJumper:
    mov %rdi, %rax
    jmp KestrixTailTarget
    .size KestrixTailJumper, .-KestrixTailJumper
    .globl KestrixTailTarget
    .type KestrixTailTarget, @function
KestrixTailTarget:
    mov %rax, %rdx
    .globl KestrixTailTargetInside
KestrixTailTargetInside:
    mov %rdx, %rax
    ret
    .size KestrixTailTarget, .-KestrixTailTarget
)");

// In a library with minimal debug information (minimal_module.cpp): Outer calls Inner calls the
// callback.
extern "C" std::uintptr_t KestrixMinimalOuter(std::uintptr_t (*callback)());

namespace kestrix {
namespace {

// Outer calls Middle calls Inner, which walks its own stack; each records where it returns to.
struct TChainSites {
    TStackTraceResult Result;
    std::uintptr_t IntoOuter = 0;   // the return address of Outer's call of Middle
    std::uintptr_t IntoMiddle = 0;  // that of Middle's call of Inner
    std::uintptr_t InInner = 0;     // a return address inside Inner
    int MiddleCallLine = 0;
    int InnerCallLine = 0;
};

[[gnu::noinline]] void Inner(TChainSites& sites, const TStackTraceParams& params) {
    sites.IntoMiddle = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    sites.InInner = ReturnAddress();
    sites.Result = StackTrace(params);
    asm volatile("" ::: "memory");
}

[[gnu::noinline]] void Middle(TChainSites& sites, const TStackTraceParams& params) {
    sites.IntoOuter = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    sites.InnerCallLine = __LINE__, Inner(sites, params);
    asm volatile("" ::: "memory");
}

[[gnu::noinline]] TChainSites Outer(const TStackTraceParams& params) {
    TChainSites sites;
    sites.MiddleCallLine = __LINE__, Middle(sites, params);
    asm volatile("" ::: "memory");
    return sites;
}

constexpr std::uintptr_t CallLength = 5;  // a call with a 32-bit displacement

class StackTraceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(StartTryRead()); }
};

std::vector<std::uintptr_t> CodeAddresses(const TStackTraceResult& result) {
    std::vector<std::uintptr_t> addresses;
    for (const TStackItem& item : result.Items)
        addresses.push_back(item.CodeAddress);
    return addresses;
}

TEST_F(StackTraceTest, ListsTheCallSitesOfItsOwnStackInnermostFirst) {
    // A frame pointer of code without frame pointers is anything: none, unreadable, or a stack
    // slot whose chain leads through junk.
    std::uintptr_t junkChain[4] = {0, 0x10, 0, 0x20};
    junkChain[0] = reinterpret_cast<std::uintptr_t>(&junkChain[2]);
    const std::uintptr_t framePointers[] = {0, 0x10, 0xdead0000beef,
                                            reinterpret_cast<std::uintptr_t>(&junkChain[0])};
    for (const std::uintptr_t framePointer : framePointers) {
        SCOPED_TRACE(framePointer);
        TStackTraceParams params;
        params.FramePointer = framePointer;
        params.HideUglyItems = false;
        const TChainSites sites = Outer(params);
        const TStackTraceResult& result = sites.Result;
        ASSERT_GE(result.Items.size(), 4u) << result.Text;
        // The location is where the trace was asked for: the return address into Inner.
        EXPECT_NE(result.Items[0].ProcedureName.find("Inner("), std::string::npos);
        EXPECT_EQ(result.ExceptionAddress, result.Items[0].CodeAddress);
        const TStackItem& middle = result.Items[1];
        EXPECT_EQ(middle.CodeAddress, sites.IntoMiddle - CallLength);
        EXPECT_NE(middle.ProcedureName.find("Middle("), std::string::npos);
        EXPECT_EQ(middle.Line, sites.InnerCallLine);
        EXPECT_EQ(middle.UnitName, "stack_trace_test");
        EXPECT_EQ(middle.ModuleFileName, "kestrix_stack_tests");
        const TStackItem& outer = result.Items[2];
        EXPECT_EQ(outer.CodeAddress, sites.IntoOuter - CallLength);
        EXPECT_NE(outer.ProcedureName.find("Outer("), std::string::npos);
        EXPECT_EQ(outer.Line, sites.MiddleCallLine);
        EXPECT_NE(result.Items[3].ProcedureName.find("ListsTheCallSitesOfItsOwnStack"),
                  std::string::npos);
        // The walk goes on to the program's entry, through code without line numbers.
        EXPECT_TRUE(
            std::any_of(result.Items.begin() + 4, result.Items.end(),
                        [](const TStackItem& item) { return item.ProcedureName == "main"; }))
            << result.Text;
        EXPECT_TRUE(result.AnyLineNumber);
        EXPECT_EQ(result.ProcedureItemAddress, result.Items[0].CodeAddress);
        EXPECT_EQ(result.ProcedureStart,
                  result.Items[0].CodeAddress - result.Items[0].ProcedureOffset);
    }
}

// Kept outside the stack: a copy in a frame would be a return address of the recursion there.
std::uintptr_t g_intoRecurse = 0;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST_F(StackTraceTest, TheSameStackGivesTheSameLinesAndChecksumsInEveryLayout) {
    for (const int layout : {0, 1, 2, 3, 4, 5, 6, 7}) {
        TStackTraceParams params;
        params.HideUglyItems = (layout & 1) != 0;
        params.ShowRelAddrs = (layout & 2) != 0;
        params.ShowRelLines = (layout & 4) != 0;
        SCOPED_TRACE(layout);
        TStackTraceResult runs[2];
        for (TStackTraceResult& run : runs)
            run = Outer(params).Result;
        const TStackTraceResult& first = runs[0];
        const TStackTraceResult& second = runs[1];
        EXPECT_EQ(first.Text, second.Text);
        EXPECT_EQ(first.Checksum1, second.Checksum1);
        EXPECT_EQ(first.Checksum2, second.Checksum2);
        EXPECT_NE(first.Checksum1, first.Checksum2);
        const auto lines = Lines(first.Text);
        ASSERT_EQ(lines.size(), first.Items.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const TStackItem& item = first.Items[i];
            char address[24];
            std::snprintf(address, sizeof address, "%016jx ",
                          static_cast<std::uintmax_t>(item.CodeAddress));
            EXPECT_EQ(lines[i].rfind(address, 0), 0u) << lines[i];
            EXPECT_EQ(lines[i].find(" +") == 16, params.ShowRelAddrs) << lines[i];
            EXPECT_EQ(lines[i].substr(lines[i].size() - item.ProcedureName.size()),
                      item.ProcedureName);
            if (params.HideUglyItems && i > 0) {
                EXPECT_GT(item.Line, 0) << lines[i];
            }
        }
        // The module column is as wide on every line.
        const std::size_t unitColumn = lines[1].find("stack_trace_test");
        EXPECT_EQ(lines[2].find("stack_trace_test"), unitColumn);
    }
}

// Not cloned per depth: every level must be the same procedure with the same call.
[[gnu::noinline, gnu::noclone]] int Recurse(int depth, TStackTraceResult& result) {
    if (depth == 0) {
        g_intoRecurse = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
        result = StackTrace({});
        return 0;
    }
    volatile int keep = Recurse(depth - 1, result);
    asm volatile("" ::: "memory");
    return keep + 1;
}

TEST_F(StackTraceTest, ShowsTheCallsOfARecursionOnce) {
    TStackTraceResult result;
    ASSERT_EQ(Recurse(6, result), 6);
    const auto addresses = CodeAddresses(result);
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), g_intoRecurse - CallLength), 1)
        << result.Text;
    ASSERT_GE(result.Items.size(), 3u) << result.Text;
    EXPECT_NE(result.Items[2].ProcedureName.find("ShowsTheCallsOfARecursionOnce"),
              std::string::npos)
        << result.Text;
}

TEST_F(StackTraceTest, AnOverflowedStackShowsItsRecursionOnceAndReachesTheThreadsEntry) {
    // The recursion's code comes from a header, whose lines the unit's debug information leaves
    // out: its items are listed by their procedure names alone.
    // With the frame pointer of the deepest call, too: in code without frame pointers the chain
    // goes on through whatever the register held.
    for (const bool withFramePointer : {false, true}) {
        SCOPED_TRACE(withFramePointer ? "with the frame pointer" : "without a frame pointer");
        TStackTraceParams params;
        params.HideUglyItems = false;
        TStackTraceResult result;
        const TOverflowSites sites = RunInOverflowedStack([&] {
            if (withFramePointer)
                params.FramePointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
            result = StackTrace(params);
        });
        ASSERT_TRUE(sites.Ran);
        // The recursion filled the stack: tens of thousands of calls, not a few.
        EXPECT_GT(sites.Depth, 10000u);
        const TOverflowListing listing = ListingOf(result, sites);
        EXPECT_EQ(listing.RecursionLines, 1u) << result.Text;
        EXPECT_TRUE(listing.EntryAfterRecursion) << result.Text;
    }
}

// A made-up stack of 32 slots, all junk until a test puts values in.
class MadeUpStack : public StackTraceTest {
  protected:
    std::uintptr_t Bottom() const { return reinterpret_cast<std::uintptr_t>(m_slots.data()); }
    std::uintptr_t Top() const { return Bottom() + m_slots.size() * sizeof(std::uintptr_t); }

    TStackTraceResult Trace(TStackTraceParams params) const {
        params.StackBottom = Bottom();
        params.StackTop = Top();
        return StackTrace(params);
    }

    std::vector<std::uintptr_t> m_slots = std::vector<std::uintptr_t>(32, 0x0123456789abcdef);
};

TEST_F(MadeUpStack, AStaleReturnAddressUnconnectedToItsNeighboursIsDropped) {
    const TChainSites sites = Outer({});
    const std::uintptr_t stale = ReturnAddress();
    m_slots[30] = sites.IntoOuter;
    m_slots[27] = 12345;
    m_slots[25] = stale;
    m_slots[24] = reinterpret_cast<std::uintptr_t>(&m_slots[3]);
    m_slots[20] = sites.IntoMiddle;
    m_slots[11] = 0;
    TStackTraceParams params;
    params.CurrentAddress = sites.InInner;
    const std::vector<std::uintptr_t> connected{sites.InInner, sites.IntoMiddle - CallLength,
                                                sites.IntoOuter - CallLength};
    const TStackTraceResult result = Trace(params);
    EXPECT_EQ(CodeAddresses(result), connected) << result.Text;

    // A dumb trace lists every item that survived the deep checks, connected or not.
    params.DumbTrace = true;
    const TStackTraceResult dumb = Trace(params);
    const std::vector<std::uintptr_t> everyItem{connected[0], connected[1], stale - CallLength,
                                                connected[2]};
    EXPECT_EQ(CodeAddresses(dumb), everyItem) << dumb.Text;
}

TEST_F(MadeUpStack, AnExceptionTraceEndsAtTheSlotThatHoldsTheLocation) {
    const TChainSites sites = Outer({});
    m_slots[30] = sites.IntoOuter;
    m_slots[20] = sites.IntoMiddle;
    m_slots[10] = ReturnAddress();  // deeper than the location: never collected
    TStackTraceParams params;
    params.IsException = true;
    params.CurrentAddress = sites.IntoMiddle;
    params.DumbTrace = true;
    const TStackTraceResult result = Trace(params);
    const std::vector<std::uintptr_t> expected{sites.IntoMiddle, sites.IntoOuter - CallLength};
    EXPECT_EQ(CodeAddresses(result), expected) << result.Text;
}

TEST_F(MadeUpStack, AFrameChainThroughJunkTakesNoJunkForCertain) {
    const TChainSites sites = Outer({});
    m_slots[30] = sites.IntoOuter;
    // A frame pointer that is not one: its chain leads through slots 25 and 29, which hold junk.
    m_slots[24] = Bottom() + 28 * sizeof(std::uintptr_t);
    m_slots[25] = 0x10;
    m_slots[20] = sites.IntoMiddle;
    TStackTraceParams params;
    params.CurrentAddress = sites.InInner;
    params.FramePointer = Bottom() + 24 * sizeof(std::uintptr_t);
    const TStackTraceResult result = Trace(params);
    const std::vector<std::uintptr_t> expected{sites.InInner, sites.IntoMiddle - CallLength,
                                               sites.IntoOuter - CallLength};
    EXPECT_EQ(CodeAddresses(result), expected) << result.Text;
}

TEST_F(MadeUpStack, TheCreationAddressEndsTheList) {
    const TChainSites sites = Outer({});
    const std::uintptr_t creator = ReturnAddress();
    m_slots[30] = sites.IntoOuter;
    m_slots[20] = sites.IntoMiddle;
    TStackTraceParams params;
    params.CurrentAddress = sites.InInner;
    params.CreatorAddress = creator;
    const TStackTraceResult result = Trace(params);
    const std::vector<std::uintptr_t> expected{sites.InInner, sites.IntoMiddle - CallLength,
                                               sites.IntoOuter - CallLength, creator - CallLength};
    EXPECT_EQ(CodeAddresses(result), expected) << result.Text;
}

TEST_F(MadeUpStack, APreparedStacksFlaggedItemsAreCertain) {
    const TChainSites sites = Outer({});
    const std::uintptr_t stale = ReturnAddress();
    TStackTraceParams params;
    params.CurrentAddress = sites.InInner;
    for (const std::uint8_t flag : {std::uint8_t{0}, std::uint8_t{1}}) {
        SCOPED_TRACE(static_cast<int>(flag));
        const TDAPreStackItem prepared{{flag, stale}, {0, sites.IntoOuter}, {0, sites.IntoMiddle}};
        params.PreparedStack = &prepared;
        std::vector<std::uintptr_t> expected{sites.InInner, sites.IntoMiddle - CallLength,
                                             sites.IntoOuter - CallLength};
        // A flagged item stays, connected or not.
        if (flag != 0)
            expected.push_back(stale - CallLength);
        const TStackTraceResult result = Trace(params);
        EXPECT_EQ(CodeAddresses(result), expected) << result.Text;
    }
}

TEST_F(MadeUpStack, ACallerIsLinkedToTheProcedureItsCalleeJumpedTo) {
    const auto callerReturn = reinterpret_cast<std::uintptr_t>(KestrixTailCallerReturn);
    const auto inside = reinterpret_cast<std::uintptr_t>(KestrixTailTargetInside);
    m_slots[30] = callerReturn;
    TStackTraceParams params;
    params.HideUglyItems = false;  // written in assembly: no line numbers
    params.CurrentAddress = inside;
    const TStackTraceResult result = Trace(params);
    ASSERT_EQ(result.Items.size(), 2u) << result.Text;
    EXPECT_EQ(result.Items[0].CodeAddress, inside);
    EXPECT_EQ(result.Items[0].ProcedureName, "KestrixTailTarget");
    EXPECT_EQ(result.Items[1].CodeAddress, callerReturn - CallLength);
    EXPECT_EQ(result.Items[1].ProcedureName, "KestrixTailCaller");
}

TEST_F(MadeUpStack, AJumpIntoUnreadableMemoryShowsTheLocationAndItsCaller) {
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    const std::uintptr_t unreadable = pages.InaccessibleStart() + 16;
    const auto returnAddress = reinterpret_cast<std::uintptr_t>(KestrixCallThroughReturn);
    m_slots[31] = 7;
    m_slots[29] = returnAddress;
    m_slots[28] = reinterpret_cast<std::uintptr_t>(&KestrixCallThrough);
    TStackTraceParams params;
    params.IsException = true;
    params.IsOsFault = true;
    params.CurrentAddress = unreadable;
    params.HideUglyItems = false;  // the caller, written in assembly, has no line number
    const TStackTraceResult result = Trace(params);
    ASSERT_EQ(result.Items.size(), 2u) << result.Text;
    EXPECT_EQ(result.Items[0].CodeAddress, unreadable);
    EXPECT_EQ(result.Items[0].ModuleFileName, "???");
    EXPECT_EQ(result.ExceptionAddress, unreadable);
    EXPECT_EQ(result.Items[1].CodeAddress, returnAddress - 2);  // call rdi
    EXPECT_EQ(result.Items[1].ProcedureName, "KestrixCallThrough");
}

[[gnu::noinline]] void Thrower() {
    throw std::runtime_error("nobody catches this");
}

// Walks the stack as the terminate handler, tells what it found and ends the process: 0 when the
// runtime's frames from the throw routine inwards (this handler's among them) are left out and
// the throw's callers are listed.
[[noreturn]] void WalkTerminateTrace() {
    TStackTraceParams params;
    params.TerminateTrace = true;
    params.HideUglyItems = false;
    const TStackTraceResult result = StackTrace(params);
    std::fprintf(stderr, "%s\n", result.Text.c_str());
    const auto named = [&](std::string_view part) {
        return std::find_if(result.Items.begin(), result.Items.end(), [&](const TStackItem& item) {
            return item.ProcedureName.find(part) != std::string::npos;
        });
    };
    const bool runtimeLeftOut = named("WalkTerminateTrace") == result.Items.end() &&
                                named("__gxx_personality_v0") == result.Items.end() &&
                                named("_Unwind_RaiseException") == result.Items.end();
    const bool callersListed = named("Thrower") < named("ThrowThroughNoexcept") &&
                               named("ThrowThroughNoexcept") != result.Items.end();
    std::_Exit(runtimeLeftOut && callersListed ? 0 : 1);
}

[[gnu::noinline]] void ThrowThroughNoexcept() noexcept {
    Thrower();
}

TEST(StackTraceDeathTest, ATerminateTraceStartsAtTheThrow) {
    EXPECT_EXIT(
        {
            ASSERT_TRUE(StartTryRead());
            std::set_terminate(&WalkTerminateTrace);
            ThrowThroughNoexcept();
        },
        ::testing::ExitedWithCode(0), "");
}

TStackTraceResult g_inMinimalModule;

std::uintptr_t WalkFromMinimalModule() {
    TStackTraceParams params;
    params.HideUglyItems = false;
    g_inMinimalModule = StackTrace(params);
    return 0;
}

TEST_F(StackTraceTest, NamesEachModuleWithMinimalDebugInformationOnce) {
    KestrixMinimalOuter(&WalkFromMinimalModule);
    const TStackTraceResult& result = g_inMinimalModule;
    const std::string module = "libkestrix_stack_minimal_module.so";
    EXPECT_EQ(std::count_if(result.Items.begin(), result.Items.end(),
                            [&](const TStackItem& item) { return item.ModuleFileName == module; }),
              2)
        << result.Text;
    ASSERT_EQ(result.MinimalDebugInfo.size(), 1u);
    // The identification of the full information: length, date and time, CRC-32.
    const std::string& entry = result.MinimalDebugInfo.front();
    EXPECT_EQ(entry.rfind(module + "|$", 0), 0u) << entry;
    EXPECT_EQ(entry.size(), module.size() + 1 + 31) << entry;
}

class RecordingAlert : public IProgressAlert {
  public:
    void SetPosition(int thousandths) override { Positions.push_back(thousandths); }
    std::vector<int> Positions;
};

TEST_F(StackTraceTest, TellsItsProgressInRisingPositionsUpToTheEnd) {
    RecordingAlert alert;
    TStackTraceParams params;
    params.ProgressAlert = &alert;
    const TChainSites sites = Outer(params);
    ASSERT_FALSE(sites.Result.Text.empty());
    const auto& positions = alert.Positions;
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GE(positions.front(), 0);
    EXPECT_LE(positions.front(), 25);
    EXPECT_EQ(positions.back(), 1000);
    for (const int reached : {25, 650}) {
        SCOPED_TRACE(reached);
        EXPECT_NE(std::find(positions.begin(), positions.end(), reached), positions.end());
    }
}

// Sets the abort flag once the trace has reached a position.
class AbortingAlert : public IProgressAlert {
  public:
    AbortingAlert(std::atomic<bool>& abort, int at) : m_abort(abort), m_at(at) {}
    void SetPosition(int thousandths) override {
        if (thousandths >= m_at)
            m_abort = true;
    }

  private:
    std::atomic<bool>& m_abort;
    int m_at;
};

TEST_F(StackTraceTest, TheAbortFlagEndsTheTraceAtOnce) {
    for (const int abortAt : {0, 100, 700, 1000}) {
        SCOPED_TRACE(abortAt);
        std::atomic<bool> abort{false};
        AbortingAlert alert(abort, abortAt);
        TStackTraceParams params;
        params.AbortFlag = &abort;
        params.ProgressAlert = &alert;
        const TChainSites sites = Outer(params);
        EXPECT_EQ(sites.Result.Text, "");
        EXPECT_TRUE(sites.Result.Items.empty());
    }
}

TEST_F(StackTraceTest, AStackRangeThatCannotBeReadGivesNoText) {
    GuardedPages pages(GuardedPages::InaccessibleAbove);
    struct Case {
        const char* name;
        std::uintptr_t bottom;
        std::uintptr_t top;
    };
    const Case cases[] = {
        {"reaching into an inaccessible page", pages.ReadableStart() + Page - 64,
         pages.InaccessibleStart() + 64},
        {"from a damaged context, far larger than any stack", 0x10000, 0x7ff000000000},
        {"empty", pages.ReadableStart() + 64, pages.ReadableStart() + 64},
        {"upside down", pages.ReadableStart() + 128, pages.ReadableStart()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStackTraceParams params;
        params.StackBottom = c.bottom;
        params.StackTop = c.top;
        const TStackTraceResult result = StackTrace(params);
        EXPECT_EQ(result.Text, "");
        EXPECT_TRUE(result.Items.empty());
    }
}

// An alert that fails once the deep checks have begun.
class FailingAlert : public IProgressAlert {
  public:
    void SetPosition(int thousandths) override {
        if (thousandths > 25)
            throw std::runtime_error("alert failed");
    }
};

TEST_F(StackTraceTest, AFailingPhaseEndsTheTraceWithTheInternalErrorText) {
    FailingAlert alert;
    TStackTraceParams params;
    params.ProgressAlert = &alert;
    const std::string internalError = ">> internal error in InDeepChecks:\r\n";
    const TChainSites sites = Outer(params);
    EXPECT_EQ(sites.Result.Text.rfind(internalError, 0), 0u) << sites.Result.Text;
    EXPECT_TRUE(sites.Result.Items.empty());

    // In an exception trace the original location follows.
    params.IsException = true;
    params.CurrentAddress = sites.InInner;
    const TChainSites exception = Outer(params);
    const std::string original =
        "\r\n>> original exception location: \r\n" + StackAddrToStr(sites.InInner, false, false);
    const std::string& text = exception.Result.Text;
    EXPECT_EQ(text.rfind(internalError, 0), 0u) << text;
    ASSERT_GE(text.size(), original.size());
    EXPECT_EQ(text.substr(text.size() - original.size()), original);
}

}  // namespace
}  // namespace kestrix
