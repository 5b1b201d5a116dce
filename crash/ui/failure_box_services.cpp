// \brief The box's actions through the handlers and delivery.
#include "crash/ui/failure_box_services.h"

#include "crash/core/handler_registry.h"
#include "crash/delivery/bug_report_saving.h"
#include "crash/delivery/send_sequence.h"
#include "crash/delivery/ui/report_printing.h"
#include "crash/ui/box_delivery_windows.h"

namespace kestrix {
namespace {

// The box runs in the main thread already.
class InPlaceCaller final : public SynchronousCaller {
  public:
    bool CallInMainThread(const std::function<void()>& call) override {
        call();
        return true;
    }
};

bool RunReportAction(const std::shared_ptr<IKXException>& exception,
                     TExceptAction action,
                     QWidget* box) {
    switch (action) {
        case eaSendBugReport:
            SendBugReport(exception, std::nullopt, std::make_shared<BoxDeliveryWindows>(box));
            return false;
        case eaSaveBugReport: {
            BoxDeliveryWindows windows(box);
            return SaveBugReport(*exception, windows) &&
                   ReportFileIsAbsolute(exception->BugRepFile());
        }
        case eaPrintBugReport:
            PrintBugReport(exception->BugReport(), box, *exception);
            return false;
        default:
            return false;
    }
}

}  // namespace

bool ReportFileIsAbsolute(const std::string& bugRepFile) {
    return bugRepFile.starts_with('/') || bugRepFile.starts_with('\\') ||
           (bugRepFile.size() > 1 && bugRepFile[1] == ':');
}

FailureBoxServices ServicesFor(const std::shared_ptr<IKXException>& exception) {
    return {.ReportText = [exception] { return exception->BugReport(); },
            .ActionHandled =
                [exception](TExceptAction action, QWidget*) {
                    InPlaceCaller caller;
                    return CallExceptActionHandlers(*exception, action, &caller);
                },
            .RunReportAction =
                [exception](TExceptAction action, QWidget* box) {
                    return RunReportAction(exception, action, box);
                }};
}

}  // namespace kestrix
