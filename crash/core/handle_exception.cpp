// \brief The failing thread's part of failure handling.
#include "crash/core/handle_exception.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <cfenv>

#include "crash/core/emergency_reserve.h"
#include "crash/core/main_thread_calls.h"
#include "crash/core/main_thread_wait.h"
#include "crash/core/raise_address.h"
#include "crash/core/raise_time_stacks.h"
#include "crash/core/reporter_runtime.h"
#include "crash/settings/exported_switches.h"
#include "crash/settings/module_settings.h"
#include "crash/threads/application_close.h"
#include "crash/threads/freeze_watchdog.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

// An exception address this close after a context's instruction pointer belongs to it.
constexpr std::uintptr_t ContextAddressReach = 4;

bool IsAbort(const ThrownObject& object) {
    if (!object) {
        return false;
    }
    const std::vector<std::string> names = ClassNames(*object.Type);
    return std::find(names.begin(), names.end(), "EAbort") != names.end();
}

bool InMainThreadWithEventLoop() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

void SubmitAndWait(const ReporterRuntime& reporter, ExceptionValues values) {
    // Waiting inside a reporter window of the main thread would wait for that window on this
    // thread's own stack: the failure is queued behind it instead.
    const bool waits = !(values.CrashedThread == MainThreadId() && ReporterWindowOpen());
    SharedFailureRequest* shared = SharedFailureRequest::Make(std::move(values), waits);
    const bool submitted = reporter.Handler->Submit(shared->Request());
    if (!submitted) {
        // The handler thread's hold, which it never received.
        shared->Release();
    }
    if (waits) {
        if (submitted && InMainThreadWithEventLoop()) {
            WaitInMainThread(shared->Done());
        } else if (submitted) {
            shared->Done().Wait();
        }
        shared->Release();
    }
}

void ResetFloatingPointUnit() {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetenv(FE_DFL_ENV);
}

}  // namespace

void CompleteExceptionValues(ExceptionValues& values) {
    if (!values.Exception && !values.Object) {
        values.Exception = std::current_exception();
    }
    if (values.Exception && !values.Object) {
        values.Object = ThrownObjectOf(values.Exception);
    }
    if (!values.PreparedStack) {
        values.PreparedStack = PreparedStackOf(values.Object.Object);
    }
    // A thrown object's address is its raise: the call that entered the throw path. A context's
    // instruction pointer already is the start of the faulting instruction (below).
    if (values.Address == 0 && !values.Context) {
        if (const std::uintptr_t returned = RaiseReturnAddressOf(values.Object.Object)) {
            values.Address = CallInstructionBefore(returned);
        }
    }
    if (values.Context) {
        const auto instruction = static_cast<std::uintptr_t>(values.Context->Registers[REG_RIP]);
        if (values.Address == 0) {
            values.Address = instruction;
        }
        if (values.Address >= instruction && values.Address - instruction <= ContextAddressReach) {
            values.StackPointer = static_cast<std::uintptr_t>(values.Context->Registers[REG_RSP]);
            values.FramePointer = static_cast<std::uintptr_t>(values.Context->Registers[REG_RBP]);
        }
    }
    if (values.StackPointer == 0) {
        values.StackPointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    }
    if (values.FramePointer == 0) {
        values.FramePointer = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    }
    if (values.CrashedThread == 0) {
        values.CrashedThread = CurrentThreadId();
    }
    if (values.StackTop == 0) {
        if (const auto bounds = CurrentThreadStackBounds()) {
            values.StackTop = bounds->Top;
        }
    }
}

std::shared_ptr<IKXException> NewException(ExceptionValues values,
                                           std::shared_ptr<IKXModuleSettings> moduleSettings) {
    if (!moduleSettings) {
        moduleSettings = values.Module != 0
                             ? KXSettings(values.Module)
                             : KXSettings(reinterpret_cast<const void*>(values.Address));
    }
    if (values.Exception && !values.Object) {
        values.Object = ThrownObjectOf(values.Exception);
    }
    return std::make_shared<IKXException>(std::move(values), std::move(moduleSettings));
}

bool HandleException(ExceptionValues values) noexcept {
    try {
        const ReporterRuntime* reporter = RunningReporter();
        if (reporter == nullptr) {
            return false;
        }
        const ThreadId thread = CurrentThreadId();
        if (thread == reporter->Handler->Id() ||
            (thread == MainThreadId() && MainThreadRunsHandlers())) {
            return true;
        }
        ReleaseEmergencyReserve();
        CompleteExceptionValues(values);
        const void* object = values.Object.Object;
        if (IsAbort(values.Object)) {
            MarkRaiseHandled(object);
            if (!values.CanContinue) {
                CloseApplication();
            }
            TakeEmergencyReserve();
            return true;
        }
        PauseFreezeCheck(true);
        SubmitAndWait(*reporter, std::move(values));
        PauseFreezeCheck(false);
        MarkRaiseHandled(object);
        if (ResetFpuMode.load()) {
            ResetFloatingPointUnit();
        }
        TakeEmergencyReserve();
    } catch (...) {
        // A failure of the reporter never replaces the failure being handled.
        TakeEmergencyReserve();
    }
    return true;
}

}  // namespace kestrix
