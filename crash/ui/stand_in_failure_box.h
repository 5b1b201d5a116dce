// \brief The stand-in failure box: a plain message box with the failure's message and the three
// outcome buttons (continue, restart, close). It is not modal, so the program's windows keep
// working and repainting while it is up.
#pragma once

#include "crash/core/exception_enums.h"
#include "crash/ui/failure_box_content.h"

namespace kestrix {

// Runs the box in the GUI thread until a button is pressed (by the user or automatically) and
// returns its action.
TExceptAction RunStandInFailureBox(const FailureBoxContent& content);

}  // namespace kestrix
