// \brief Handling one failure on the handler thread: the failure object, the phases with their
// handler calls, the saved report, the presentation and the outcome.
#pragma once

#include "crash/core/failure_request.h"
#include "crash/core/reporter_runtime.h"

namespace kestrix {

// Whether the process is a console program: no GUI application object.
bool IsConsoleProgram();

// Runs every step; a failure inside one is swallowed. Continues, or ends the process by restart
// or close.
void HandleOneFailure(const FailureRequest& request, const ReporterRuntime& reporter) noexcept;

// The values of a fault recorded by a signal handler, completed on the handler thread.
ExceptionValues FaultValues(const SignalRecord& record);

}  // namespace kestrix
