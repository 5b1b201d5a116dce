// \brief The scenarios of plain calls: a deep chain, a recursion, calls through a function
// pointer and a virtual function, a tail call and helpers inlined into their caller.
#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"
#include "tests/crash/stack/crash_suite/virtual_callee.h"

namespace crash_suite {

volatile int CallsMade = 0;

namespace {

template <int Depth>
[[gnu::noinline]] void Chain() {
    if constexpr (Depth == 0)
        suite_probe::ProbePoint();
    else
        Chain<Depth - 1>();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void Recurse(int depth) {
    if (depth == 0)
        suite_probe::ProbePoint();
    else
        Recurse(depth - 1);
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void CalledThroughPointer() {
    suite_probe::ProbePoint();
    CallsMade = CallsMade + 2;
}

void (*volatile PointerToCall)() = CalledThroughPointer;

[[gnu::noinline]] void CallThroughPointer() {
    PointerToCall();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void CallVirtual(const VirtualCallee& callee) {
    callee.Run();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void TailCallee(int value) {
    if (value != 0)
        suite_probe::ProbePoint();
    CallsMade = CallsMade + value;
}

// Ends in a jump to TailCallee: no frame of its own stays on the stack.
[[gnu::noinline]] void TailCaller(int value) {
    CallsMade = CallsMade + 1;
    TailCallee(value + 1);
}

[[gnu::noinline]] void CallTailCaller() {
    TailCaller(CallsMade);
    CallsMade = CallsMade + 1;
}

[[gnu::always_inline]] inline void InnerHelper() {
    suite_probe::ProbePoint();
    CallsMade = CallsMade + 1;
}

[[gnu::always_inline]] inline void OuterHelper() {
    InnerHelper();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void CallInlinedHelpers() {
    OuterHelper();
    CallsMade = CallsMade + 1;
}

}  // namespace

void DeepChain() {
    Chain<24>();
}

void Recursion() {
    Recurse(9);
}

void FunctionPointer() {
    CallThroughPointer();
}

void VirtualCall() {
    CallVirtual(MakeVirtualCallee());
}

void TailCall() {
    CallTailCaller();
}

void InlinedHelpers() {
    CallInlinedHelpers();
}

}  // namespace crash_suite
