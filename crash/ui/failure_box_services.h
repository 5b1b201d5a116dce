// \brief What the failure box of a failure does with its buttons: the action handlers first (one
// that marks the action handled cancels it), then the send, save and print of the report, and the
// report for the details view.
#pragma once

#include <memory>

#include "crash/core/ikx_exception.h"
#include "crash/ui/full_failure_box.h"

namespace kestrix {

// For a box that runs in the GUI thread: handlers that want that thread are called in place.
FailureBoxServices ServicesFor(const std::shared_ptr<IKXException>& exception);

// `BugRepFile` names one file wherever the program runs: the save button has done its work then.
bool ReportFileIsAbsolute(const std::string& bugRepFile);

}  // namespace kestrix
