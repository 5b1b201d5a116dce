// \brief The scenario program's throw hook: it interposes the C++ runtime's throw routine, keeps
// the stack's possible return addresses before the unwinding discards the frames, and passes the
// throw on. No throw expression and no <cxxabi.h> here: the hook's declaration must be the only
// one in this file.
#include <dlfcn.h>

#include <cstdlib>

#include "crash/stack/guarded_read.h"
#include "tests/crash/stack/crash_suite/raise_time_stack.h"

namespace suite_probe {
namespace {

TRaiseTimeStack& RaiseTimeStack() {
    static TRaiseTimeStack stack;
    return stack;
}

}  // namespace

const TRaiseTimeStack& LastRaiseTimeStack() {
    return RaiseTimeStack();
}

}  // namespace suite_probe

using ThrowRoutine = void (*)(void*, void*, void (*)(void*));

// gdb takes its backtrace on entry here: the frames above are those captured.
extern "C" [[noreturn]] void __cxa_throw(void* thrown, void* type, void (*destroy)(void*)) {
    suite_probe::TRaiseTimeStack& raised = suite_probe::RaiseTimeStack();
    raised.ThrowAddress = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    // The hook's own frame starts the frame chain; above it the chain is whatever the optimised
    // callers left in the frame-pointer register.
    const auto framePointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (kestrix::StartTryRead())
        kestrix::PrepareStackTrace(framePointer, std::nullopt, std::nullopt, raised.Items);
    static const auto next = reinterpret_cast<ThrowRoutine>(dlsym(RTLD_NEXT, "__cxa_throw"));
    if (next == nullptr)
        std::abort();
    next(thrown, type, destroy);
    std::abort();
}
