// \brief StartKestrix.
#include "crash/ui/kestrix_start.h"

#include <cstdlib>

#include "crash/core/reporter_runtime.h"
#include "crash/report/bug_report.h"
#include "crash/settings/internal_error.h"
#include "crash/ui/failure_presentation.h"
#include "crash/ui/helper_box_process.h"
#include "crash/ui/internal_error_box.h"

namespace kestrix {

std::unique_ptr<ReporterSession> StartKestrix(int argc, char** argv) {
    for (const auto runHelper : {&RunHelperBoxIfAsked, &RunInternalErrorBoxIfAsked}) {
        if (const std::optional<int> helperExit = runHelper(argc, argv)) {
            std::exit(*helperExit);
        }
    }
    SetInternalErrorPresenter(&ShowInternalErrorBox);
    SetFailurePresenter(&PresentFailure);
    InstallFullBugReport();
    return std::make_unique<ReporterSession>();
}

}  // namespace kestrix
