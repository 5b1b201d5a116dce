// \brief The operating-system faults: handlers for SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGABRT
// that run on the thread's alternate signal stack, record the fault into storage reserved at
// start-up, hand it to the handler thread and wait there until it has been handled. A fault
// cannot continue: handling ends the process; should it return, the signal's default action
// ends it. SIGINT is left alone.
#pragma once

#include <signal.h>

#include <array>

#include "crash/core/handler_thread.h"

namespace kestrix {

inline constexpr std::array<int, 5> FaultSignals = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
// Faults of this many threads at the same moment are handled; a further one ends the process by
// the signal's default action.
inline constexpr std::size_t FaultSlots = 8;

class FaultSignalHandlers {
  public:
    // Installs the handlers, which hand faults to the thread, and remembers the ones replaced.
    explicit FaultSignalHandlers(const HandlerThread& handlerThread);
    // Restores the replaced handlers.
    ~FaultSignalHandlers();
    FaultSignalHandlers(const FaultSignalHandlers&) = delete;
    FaultSignalHandlers& operator=(const FaultSignalHandlers&) = delete;

  private:
    std::array<struct sigaction, FaultSignals.size()> m_previous{};
};

}  // namespace kestrix
