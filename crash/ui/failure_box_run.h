// \brief Running a failure box to the user's choice in the calling thread (the GUI thread): the
// full box or a small box by the content's mode, a small box's "&Details" answered by the full box
// with its details view open and no automatic button. The program's windows keep working.
#pragma once

#include "crash/ui/failure_box_content.h"
#include "crash/ui/full_failure_box.h"

namespace kestrix {

// Continue, restart or close.
TExceptAction RunFailureBox(FailureBoxContent content, const FailureBoxServices& services);

}  // namespace kestrix
