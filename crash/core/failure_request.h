// \brief The failure request: what a failing thread hands to the handler thread through its pipe.
// A request without a completion ends the handler thread.
#pragma once

#include <signal.h>
#include <sys/ucontext.h>

#include <atomic>

#include "crash/core/completion.h"
#include "crash/core/exception_values.h"

namespace kestrix {

// A fault as a signal handler records it: plain values only, written in the handler.
struct SignalRecord {
    int Signal = 0;
    int Code = 0;
    std::uintptr_t FaultAddress = 0;
    ThreadId Thread = 0;
    gregset_t Registers{};
};

struct FailureRequest {
    Completion* Done = nullptr;
    ThreadId CallingThread = 0;
    // Exactly one of the two describes the failure.
    ExceptionValues* Values = nullptr;
    const SignalRecord* Signal = nullptr;
    // A request nobody waits for (one queued from inside a reporter window): the handler thread
    // deletes it, with its values and completion, when it has been handled.
    bool Queued = false;
    bool EndsHandlerThread() const { return Done == nullptr; }
};

}  // namespace kestrix
