// \brief The start of Kestrix in a program with windows: the first call of main. It runs the
// helper process's failure box or internal error box when the arguments ask for one, and otherwise
// sets the reporter up with the failure boxes and the internal error box.
#pragma once

#include <memory>

#include "crash/core/reporter_session.h"

namespace kestrix {

// Ends the process with the helper's exit code when it is the helper. The session lives until
// the program's message loop has ended.
std::unique_ptr<ReporterSession> StartKestrix(int argc, char** argv);

}  // namespace kestrix
