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

class SharedFailureRequest;

struct FailureRequest {
    Completion* Done = nullptr;
    ThreadId CallingThread = 0;
    // Exactly one of the two describes the failure.
    ExceptionValues* Values = nullptr;
    const SignalRecord* Signal = nullptr;
    // The request's owner when it was made on the heap; the handler thread lets go of it once the
    // request has been handled.
    SharedFailureRequest* Shared = nullptr;
    bool EndsHandlerThread() const { return Done == nullptr; }
};

// A request on the heap with its own values and completion, for a failing thread that may stop
// waiting before the failure has been handled (the main thread when the application quits) or
// does not wait at all (a failure queued from inside a reporter window). The handler thread and
// the waiting thread each let go of it; the last one deletes it.
class SharedFailureRequest {
  public:
    static SharedFailureRequest* Make(ExceptionValues values, bool waited);
    SharedFailureRequest(const SharedFailureRequest&) = delete;
    SharedFailureRequest& operator=(const SharedFailureRequest&) = delete;

    FailureRequest* Request() { return &m_request; }
    const Completion& Done() const { return m_done; }
    void Release() noexcept;

  private:
    SharedFailureRequest(ExceptionValues values, bool waited);
    ~SharedFailureRequest() = default;

    ExceptionValues m_values;
    Completion m_done;
    FailureRequest m_request;
    std::atomic<int> m_holders;
};

}  // namespace kestrix
