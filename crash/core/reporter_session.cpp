// \brief The session's steps.
#include "crash/core/reporter_session.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <string_view>

#include "crash/core/emergency_reserve.h"
#include "crash/core/failure_handling.h"
#include "crash/core/fault_signals.h"
#include "crash/core/interception_points.h"
#include "crash/core/main_thread_calls.h"
#include "crash/core/private_folder.h"
#include "crash/core/reporter_runtime.h"
#include "crash/settings/internal_error.h"
#include "crash/settings/module_settings.h"
#include "crash/stack/guarded_read.h"
#include "crash/threads/alternate_signal_stack.h"
#include "crash/threads/application_restart.h"
#include "crash/threads/freeze_watchdog.h"
#include "crash/threads/thread_pausing.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

constexpr std::string_view RegistryOpeningError = "internal error (opening global buffer)";

std::atomic<std::int64_t> g_startTime{0};

std::int64_t MonotonicMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

// The parts of an enabled session, declared in the order they are taken, so that they are given
// back in reverse.
struct ReporterSession::EnabledParts {
    AlternateSignalStack MainThreadSignalStack;
    ReporterRuntime Runtime;
    MainThreadMessenger Messenger;
    std::unique_ptr<MainThreadSynchronousCaller> Caller;
    std::unique_ptr<HandlerThread> Handler;
    std::unique_ptr<FaultSignalHandlers> Faults;
    std::unique_ptr<InterceptionPoints> Interception;
    std::unique_ptr<FreezeWatchdog> Watchdog;

    explicit EnabledParts(const IKXSettings& settings) {
        Caller = std::make_unique<MainThreadSynchronousCaller>(Messenger);
        Handler = std::make_unique<HandlerThread>(
            [this](const FailureRequest& request) { HandleOneFailure(request, Runtime); },
            Messenger);
        Runtime = {.Handler = Handler.get(), .Messenger = &Messenger, .Caller = Caller.get()};
        Faults = std::make_unique<FaultSignalHandlers>(*Handler);
        SetRunningReporter(&Runtime);
        EnableThreadPausing();
        Interception = std::make_unique<InterceptionPoints>();
        Watchdog = StartFreezeWatchdog(settings, Messenger, &HandleFreeze);
        TakeEmergencyReserve();
    }

    ~EnabledParts() {
        ReleaseEmergencyReserve();
        Watchdog.reset();
        Interception.reset();
        SetRunningReporter(nullptr);
        Faults.reset();
        Handler.reset();
    }
};

ReporterSession::ReporterSession() {
    TakeOverRestart();
    ClearTemporaryFolder();
    g_startTime = MonotonicMilliseconds();
    const auto settings = KXSettings();
    try {
        JoinThreadRegistry();
    } catch (const std::exception&) {
        // The registry is an object of this process: only a lack of memory keeps it from opening.
        ShowInternalError(RegistryOpeningError);
        std::exit(0);
    }
    if (!settings->HasSettingsResource()) {
        return;
    }
    m_setUp = true;
    if (settings->Enabled()) {
        StartTryRead();
        m_enabled = std::make_unique<EnabledParts>(*settings);
    }
}

ReporterSession::~ReporterSession() {
    m_enabled.reset();
    LeaveThreadRegistry();
}

bool ReporterSession::Enabled() const {
    return m_enabled != nullptr;
}

std::int64_t ProgramStartTime() {
    return g_startTime.load();
}

}  // namespace kestrix
