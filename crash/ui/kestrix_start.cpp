// \brief StartKestrix.
#include "crash/ui/kestrix_start.h"

#include <cstdlib>

#include "crash/core/reporter_runtime.h"
#include "crash/ui/helper_box_process.h"
#include "crash/ui/stand_in_presentation.h"

namespace kestrix {

std::unique_ptr<ReporterSession> StartKestrix(int argc, char** argv) {
    if (const std::optional<int> helperExit = RunHelperBoxIfAsked(argc, argv)) {
        std::exit(*helperExit);
    }
    SetFailurePresenter(&PresentInStandInBox);
    return std::make_unique<ReporterSession>();
}

}  // namespace kestrix
