// \brief What the running reporter shares between the failing threads and the handler thread:
// the handler thread, the main thread's message object, the synchronous caller and the
// presentation of a failure. Set while a reporter session is enabled.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "crash/core/exception_enums.h"
#include "crash/core/handler_registry.h"
#include "crash/core/handler_thread.h"

namespace kestrix {

class IKXException;

// Shows the failure and returns the user's choice: eaContinueApplication, eaRestartApplication or
// eaCloseApplication. `guiThreadCanShow` is false when the GUI thread itself cannot run a window
// (a fault or a freeze of that thread): the box must run elsewhere then.
using FailurePresenter = std::function<TExceptAction(const std::shared_ptr<IKXException>& exception,
                                                     bool guiThreadCanShow)>;

struct ReporterRuntime {
    HandlerThread* Handler = nullptr;
    const MainThreadMessenger* Messenger = nullptr;
    SynchronousCaller* Caller = nullptr;
};

// None while no reporter session is enabled.
const ReporterRuntime* RunningReporter();
void SetRunningReporter(const ReporterRuntime* runtime);

// Installs how failures are shown; without one a failure is only saved and decided by the
// automatic outcomes.
void SetFailurePresenter(FailurePresenter presenter);
FailurePresenter CurrentFailurePresenter();

// Held while a reporter window runs its own event loop in the GUI thread: a failure of that
// thread meanwhile is queued behind the current one instead of waiting inside the window.
class ReporterWindowScope {
  public:
    ReporterWindowScope();
    ~ReporterWindowScope();
    ReporterWindowScope(const ReporterWindowScope&) = delete;
    ReporterWindowScope& operator=(const ReporterWindowScope&) = delete;
};
bool ReporterWindowOpen();

}  // namespace kestrix
