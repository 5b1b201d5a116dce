// \brief The filters of the final output: the runtime's own frames that stand between a failure
// and the code that caused it.
//
// A terminate trace is taken inside the terminate handler; std::terminate's callers come through
// the throw routines (__cxa_throw, or __cxa_rethrow for `throw;`, when no handler catches, and
// also when a noexcept function is left by an exception, whose unwinding starts there too). The
// innermost item in one of them is left out with every deeper item, so that the trace starts at
// the throw.
//
// A raise-time stack is captured inside the throw path, below the raise routines
// (__cxa_throw, __cxa_rethrow, _Unwind_RaiseException, _Unwind_Resume). With the location added
// behind it, the innermost item in a raise routine is left out with every deeper item (the
// capture's own frames), the location kept; and when the next outer named item is the signal
// trampoline `__restore_rt` (an exception raised from a signal handler that the kernel entered
// on this stack), it is left out too, as the dispatcher between a fault and its handler.
#pragma once

#include "crash/stack/stack_links.h"

namespace kestrix {

void FilterTerminateTrace(TInternalStackItems& items);
void FilterRaiseTimeStack(TInternalStackItems& items);

}  // namespace kestrix
