// \brief The fault handlers and their reserved storage. Everything between the arrival of a
// signal and the hand-over runs in the signal handler and is async-signal-safe: plain stores, the
// pipe's write and the completion's futex.
#include "crash/core/fault_signals.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "crash/core/emergency_reserve.h"
#include "crash/core/main_thread_calls.h"
#include "crash/core/reporter_runtime.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

struct FaultSlot {
    std::atomic<bool> InUse{false};
    SignalRecord Record;
    Completion Done;
    FailureRequest Request;
};

std::array<FaultSlot, FaultSlots> g_slots;
std::atomic<const HandlerThread*> g_handlerThread{nullptr};
thread_local bool t_inFaultHandler = false;

// Runs in a signal handler. The default action takes over: a fault happens again when the
// handler returns, a sent or raised signal is raised again now and arrives on return.
void EndByDefaultAction(int signal) {
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signal, &defaultAction, nullptr);
    raise(signal);
}

// Runs in a signal handler. A fault of the main thread while it runs a reporter window or the
// reporter's handlers for the failure being handled cannot be waited for: the handler thread
// waits for that thread. The first failure's report is saved by then.
bool HandlerThreadWaitsFor(const HandlerThread& handlerThread, ThreadId thread) {
    return thread == MainThreadId() && handlerThread.Handling() &&
           (ReporterWindowOpen() || MainThreadRunsHandlers());
}

FaultSlot* ClaimSlot() {
    for (FaultSlot& slot : g_slots) {
        bool expected = false;
        if (slot.InUse.compare_exchange_strong(expected, true)) {
            return &slot;
        }
    }
    return nullptr;
}

// Runs in a signal handler, on the alternate stack.
void FaultHandler(int signal, siginfo_t* info, void* rawContext) {
    const int savedErrno = errno;
    const HandlerThread* handlerThread = g_handlerThread.load();
    const auto thread = static_cast<ThreadId>(syscall(SYS_gettid));
    FaultSlot* slot = nullptr;
    if (handlerThread != nullptr && !t_inFaultHandler && thread != handlerThread->Id() &&
        !HandlerThreadWaitsFor(*handlerThread, thread)) {
        slot = ClaimSlot();
    }
    if (slot == nullptr) {
        EndByDefaultAction(signal);
        errno = savedErrno;
        return;
    }
    t_inFaultHandler = true;
    ReleaseEmergencyReserve();
    const auto* context = static_cast<const ucontext_t*>(rawContext);
    slot->Record.Signal = signal;
    slot->Record.Code = info->si_code;
    slot->Record.FaultAddress = reinterpret_cast<std::uintptr_t>(info->si_addr);
    slot->Record.Thread = thread;
    std::memcpy(slot->Record.Registers, context->uc_mcontext.gregs, sizeof(gregset_t));
    slot->Done.Reset();
    slot->Request = FailureRequest{};
    slot->Request.Done = &slot->Done;
    slot->Request.CallingThread = thread;
    slot->Request.Signal = &slot->Record;
    if (handlerThread->Submit(&slot->Request)) {
        slot->Done.Wait();
    }
    slot->InUse = false;
    t_inFaultHandler = false;
    EndByDefaultAction(signal);
    errno = savedErrno;
}

}  // namespace

FaultSignalHandlers::FaultSignalHandlers(const HandlerThread& handlerThread) {
    g_handlerThread = &handlerThread;
    struct sigaction action {};
    action.sa_sigaction = &FaultHandler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < FaultSignals.size(); ++i) {
        sigaction(FaultSignals[i], &action, &m_previous[i]);
    }
}

FaultSignalHandlers::~FaultSignalHandlers() {
    for (std::size_t i = 0; i < FaultSignals.size(); ++i) {
        sigaction(FaultSignals[i], &m_previous[i], nullptr);
    }
    g_handlerThread = nullptr;
}

}  // namespace kestrix
