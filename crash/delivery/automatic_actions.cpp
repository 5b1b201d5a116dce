// \brief The automatic send, copy and save.
#include "crash/delivery/automatic_actions.h"

#include "crash/core/handler_registry.h"
#include "crash/delivery/background_sends.h"
#include "crash/delivery/bug_report_saving.h"
#include "crash/delivery/delivery_state.h"
#include "crash/delivery/send_sequence.h"

namespace kestrix {

void RunReportCompleteActions(const std::shared_ptr<IKXException>& failure,
                              const std::optional<RgbImage>& screenshot,
                              const std::shared_ptr<IDeliveryWindows>& windows) {
    if (failure->AutoSend() && MarkFirst(failure, dmAutoSend) &&
        !CallExceptActionHandlers(*failure, eaSendBugReport, nullptr)) {
        AutoSendBugReport(failure, screenshot, windows);
    }
    if (failure->AutoClip() && windows) {
        windows->FillClipboard(failure->BugReport());
    }
}

void RunHandlingEndActions(const std::shared_ptr<IKXException>& failure) {
    if (!failure->AutoSave() || !MarkFirst(failure, dmAutoSave) ||
        CallExceptActionHandlers(*failure, eaSaveBugReport, nullptr)) {
        return;
    }
    if (failure->AutoSaveIfNotSent()) {
        WaitForBackgroundSends();
        if (IsMarked(failure, dmSent)) {
            return;
        }
    }
    AutoSaveBugReport(*failure);
}

}  // namespace kestrix
