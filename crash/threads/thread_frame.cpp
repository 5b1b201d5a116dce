// \brief The thread guard: registration, alternate stack, and the catch that lets thread
// cancellation through.
#include "crash/threads/thread_frame.h"

#include <cxxabi.h>

#include <atomic>
#include <cerrno>
#include <exception>
#include <memory>
#include <new>

#include "crash/threads/alternate_signal_stack.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

std::atomic<ThreadFrameHandler> g_threadFrameHandler{nullptr};

struct ThreadStart {
    ThreadProcedure Procedure = nullptr;
    void* Argument = nullptr;
    ThreadId Creator = 0;
};

// The registry entry lives as long as the procedure, also when cancellation unwinds it.
class ThreadRegistration {
  public:
    ThreadRegistration(const void* creatorAddress, ThreadId creator) {
        try {
            RegisterCurrentThread(creatorAddress, creator);
        } catch (...) {
            // Out of memory: the thread runs unregistered rather than not at all.
        }
    }
    ~ThreadRegistration() { UnregisterThread(CurrentThreadId()); }
    ThreadRegistration(const ThreadRegistration&) = delete;
    ThreadRegistration& operator=(const ThreadRegistration&) = delete;
};

// Cancellation unwinds with no exception object behind the reference the handler binds, and the
// address sanitizer's stack unpoisoning before the rethrow trips over the frames it has already
// left: the sanitizer build leaves this one function alone.
__attribute__((no_sanitize_address, no_sanitize_undefined)) void* RunInThreadFrame(
    ThreadProcedure procedure,
    void* argument) {
    try {
        return procedure(argument);
    } catch (abi::__forced_unwind&) {
        throw;
    } catch (...) {
        const ThreadFrameHandler handler = g_threadFrameHandler.load();
        if (handler == nullptr) {
            std::terminate();
        }
        try {
            handler();
        } catch (...) {
            // A failure of the reporter never replaces the thread's own.
        }
        return reinterpret_cast<void*>(-1);
    }
}

void* GuardedThreadStart(void* raw) {
    const std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(raw));
    const ThreadRegistration registration(reinterpret_cast<const void*>(start->Procedure),
                                          start->Creator);
    const AlternateSignalStack signalStack;
    return RunInThreadFrame(start->Procedure, start->Argument);
}

}  // namespace

ThreadFrameHandler SetThreadFrameHandler(ThreadFrameHandler handler) {
    return g_threadFrameHandler.exchange(handler);
}

int CreateGuardedThread(ThreadCreateFunction systemCreate,
                        pthread_t* thread,
                        const pthread_attr_t* attributes,
                        ThreadProcedure procedure,
                        void* argument) noexcept {
    std::unique_ptr<ThreadStart> start(new (std::nothrow) ThreadStart{
        .Procedure = procedure, .Argument = argument, .Creator = CurrentThreadId()});
    if (!start) {
        return EAGAIN;
    }
    const int result = systemCreate(thread, attributes, &GuardedThreadStart, start.get());
    if (result == 0) {
        start.release();  // the new thread owns it now
    }
    return result;
}

}  // namespace kestrix
