// \brief Where the box runs.
#include "crash/ui/failure_presentation.h"

#include <QApplication>

#include "crash/core/completion.h"
#include "crash/core/main_thread_calls.h"
#include "crash/core/reporter_runtime.h"
#include "crash/ui/failure_box_run.h"
#include "crash/ui/failure_box_services.h"
#include "crash/ui/helper_box_process.h"

namespace kestrix {

TExceptAction PresentFailure(const std::shared_ptr<IKXException>& exception,
                             bool guiThreadCanShow) {
    FailureBoxContent content = BoxContentOf(*exception);
    if (content.Mode == ssNothing) {
        return eaContinueApplication;
    }
    if (content.Mode == ssAssistant) {
        content.Mode = ssFullBox;
    }
    const ReporterRuntime* reporter = RunningReporter();
    if (exception->ExceptType() == etFrozen && reporter != nullptr) {
        // The freeze box closes by itself (continue) once the main thread answers again.
        const auto answered = std::make_shared<Completion>();
        reporter->Messenger->Post([answered] { answered->Set(); });
        return ShowBoxInHelperProcess(content, [answered] { return answered->IsSet(); });
    }
    // An application object still being constructed (a fatal message of its platform plugin)
    // cannot build a window yet.
    if (!guiThreadCanShow || reporter == nullptr || QCoreApplication::startingUp() ||
        qobject_cast<QApplication*>(qApp) == nullptr) {
        return ShowBoxInHelperProcess(content);
    }
    // Shared with the posted calls, which may still run after the probe has timed out.
    struct Shown {
        Completion Answered;
        Completion Done;
        TExceptAction Choice = eaContinueApplication;
    };
    const auto shown = std::make_shared<Shown>();
    reporter->Messenger->Post([shown] { shown->Answered.Set(); });
    if (!shown->Answered.WaitFor(MainThreadProbeTimeout)) {
        return ShowBoxInHelperProcess(content);
    }
    reporter->Messenger->Post([shown, content, exception] {
        try {
            shown->Choice = RunFailureBox(content, ServicesFor(exception));
        } catch (...) {
            // The failure goes on by its outcome rules.
        }
        shown->Done.Set();
    });
    shown->Done.Wait();
    return shown->Choice;
}

}  // namespace kestrix
