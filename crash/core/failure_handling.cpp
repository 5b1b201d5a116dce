// \brief The handler thread's part of failure handling.
#include "crash/core/failure_handling.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "crash/core/fault_description.h"
#include "crash/core/handle_exception.h"
#include "crash/core/minimal_report.h"
#include "crash/core/private_folder.h"
#include "crash/threads/application_close.h"
#include "crash/threads/application_restart.h"
#include "crash/threads/automatic_outcome.h"
#include "crash/threads/freeze_watchdog.h"
#include "crash/threads/recent_failure_times.h"
#include "crash/threads/thread_pausing.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

template <typename Step>
void Guarded(Step step) noexcept {
    try {
        step();
    } catch (...) {
        // Every step is guarded: the reporter's own trouble never replaces the failure's report.
    }
}

[[noreturn]] void Close(IKXException& exception, SynchronousCaller* caller) {
    Guarded([&] { CallExceptActionHandlers(exception, eaCloseApplication, caller); });
    std::fflush(nullptr);
    CloseApplication();
}

void Restart(IKXException& exception, SynchronousCaller* caller) {
    Guarded([&] { CallExceptActionHandlers(exception, eaRestartApplication, caller); });
    std::fflush(nullptr);
    Guarded([] { RestartApplication(); });
}

// Standard output of a console program: the message and the report.
void WriteAsText(const IKXException& exception) {
    std::printf("%s\n%s\n%s\n", exception.ExceptMsg().c_str(), exception.ExceptMessage().c_str(),
                exception.BugReport(true).c_str());
    std::fflush(stdout);
}

bool GuiThreadCanShow(const IKXException& exception) {
    const bool mainThreadFault = exception.Source() == esSystemExceptionHandler &&
                                 exception.CrashedThread() == MainThreadId();
    return !mainThreadFault && exception.ExceptType() != etFrozen;
}

// Presents the failure and carries out a choice of restart or close made there.
void Present(const std::shared_ptr<IKXException>& exception, const ReporterRuntime& reporter) {
    if (exception->Decisions().ShowSetting == ssNothing) {
        return;
    }
    if (IsConsoleProgram()) {
        WriteAsText(*exception);
        return;
    }
    const FailurePresenter presenter = CurrentFailurePresenter();
    if (!presenter) {
        return;
    }
    const TExceptAction choice = presenter(exception, GuiThreadCanShow(*exception));
    if (choice == eaCloseApplication) {
        Close(*exception, reporter.Caller);
    }
    if (choice == eaRestartApplication) {
        Restart(*exception, reporter.Caller);
    }
    if (exception->CanContinue()) {
        CallExceptActionHandlers(*exception, eaContinueApplication, reporter.Caller);
    }
}

// The outcome decided without the user: a failure that cannot continue, one shown nowhere, and
// any failure of a console program.
void DecideOutcome(IKXException& exception, SynchronousCaller* caller) {
    const bool restart = AutomaticOutcomeApplies(exception.AutoRestart());
    if (AutomaticOutcomeApplies(exception.AutoClose()) || (!exception.CanContinue() && !restart)) {
        Close(exception, caller);
    }
    if (restart) {
        Restart(exception, caller);
    }
    CallExceptActionHandlers(exception, eaContinueApplication, caller);
}

ExceptionValues ValuesOf(const FailureRequest& request) {
    if (request.Signal != nullptr) {
        return FaultValues(*request.Signal);
    }
    return *request.Values;
}

}  // namespace

bool IsConsoleProgram() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application == nullptr || !application->inherits("QGuiApplication");
}

ExceptionValues FaultValues(const SignalRecord& record) {
    const TMemoryRegions regions = TMemoryRegions::Snapshot();
    FaultDescription fault = DescribeFault(record, regions);
    ExceptionValues values;
    values.Exception = fault.Exception;
    values.Object = ThrownObjectOf(values.Exception);
    values.CanContinue = false;
    values.Source = esSystemExceptionHandler;
    values.CrashedThread = record.Thread;
    CpuContext context;
    std::memcpy(context.Registers, record.Registers, sizeof context.Registers);
    values.Context = context;
    // On x86-64 a fault is reported before its instruction has run, so the instruction pointer
    // is the start of the faulting instruction and needs no correction; for a signal sent or
    // raised (SIGABRT) it is the instruction the thread was interrupted at.
    values.Address = static_cast<std::uintptr_t>(record.Registers[REG_RIP]);
    values.StackPointer = static_cast<std::uintptr_t>(record.Registers[REG_RSP]);
    values.FramePointer = static_cast<std::uintptr_t>(record.Registers[REG_RBP]);
    if (const auto stack = FaultingStack(regions, values.StackPointer)) {
        values.StackTop = stack->End;
        // The stack pointer of an overflowed stack has left it; the walk starts where it is.
        values.StackPointer = std::max(values.StackPointer, stack->Start);
    }
    return values;
}

void HandleOneFailure(const FailureRequest& request, const ReporterRuntime& reporter) noexcept {
    if (request.Signal != nullptr) {
        // A fault cannot continue: the watchdog stays paused until the process ends.
        Guarded([] { PauseFreezeCheck(true); });
    }
    std::shared_ptr<IKXException> exception;
    Guarded([&] {
        ClearTemporaryFolder();
        exception = NewException(ValuesOf(request));
    });
    if (!exception) {
        return;
    }
    SynchronousCaller* caller = reporter.Caller;
    bool handled = false;
    bool threadsPaused = false;
    Guarded([&] {
        exception->SetPhase(epQuickFiltering);
        if (exception->ExceptType() == etHidden) {
            handled = CallHiddenExceptionHandlers(*exception, caller);
            if (handled) {
                return;
            }
        } else {
            RecordFailureTime();
        }
        handled = CallExceptionHandlers(*exception, epQuickFiltering, handled, caller);
    });
    if (exception->ExceptType() == etHidden && handled) {
        return;
    }
    Guarded([&] {
        exception->SetPhase(epMainPhase);
        if (handled) {
            return;
        }
        if (exception->ExceptType() == etNormal && exception->Decisions().PauseThreads) {
            PauseThreads(*reporter.Messenger, reporter.Handler->Id(), [](const void* creator) {
                return ModuleOfAddress(creator) == MainModule();
            });
            threadsPaused = true;
        }
        if (exception->Decisions().CreateBugReport) {
            if (const BugReportBuilder build = CurrentBugReportBuilder()) {
                exception->SetReport(build(exception));
            } else {
                exception->SetBugReport(BuildMinimalReport(*exception));
            }
        }
        handled = CallExceptionHandlers(*exception, epMainPhase, handled, caller);
    });
    Guarded([&] {
        exception->SetPhase(epPostProcessing);
        handled = CallExceptionHandlers(*exception, epPostProcessing, handled, caller);
        if (const std::shared_ptr<IBugReport> report = exception->Report()) {
            report->PostProcessingReached();
        }
    });
    if (!handled || !exception->CanContinue()) {
        if (!handled) {
            // Saved before anything that can wait (a box, a helper process), whatever happens next.
            Guarded([&] {
                if (exception->Decisions().CreateBugReport) {
                    if (const std::shared_ptr<IBugReport> report = exception->Report()) {
                        report->Save();
                    } else {
                        SaveMinimalReport(*exception);
                    }
                }
            });
            Guarded([&] { Present(exception, reporter); });
        }
        const bool decidedHere = !exception->CanContinue() ||
                                 exception->Decisions().ShowSetting == ssNothing ||
                                 IsConsoleProgram();
        if (decidedHere) {
            Guarded([&] { DecideOutcome(*exception, caller); });
        }
    }
    Guarded([&] {
        ImNotFrozen();
        if (threadsPaused) {
            ResumeThreads();
        }
    });
}

}  // namespace kestrix
