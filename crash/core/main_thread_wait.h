// \brief The main thread's wait for the handler thread: a nested event loop, so that the windows
// go on repainting and a box can come up, which ends when the failure has been handled or when the
// application is asked to quit.
#pragma once

#include "crash/core/completion.h"

namespace kestrix {

// Runs the main thread's events until `done` is set; true then. A quit of the application
// (`QCoreApplication::exit` or `quit`) ends the wait as well, with false: Qt ends every event loop
// of the thread at once, so the application's own loop ends too when the wait has returned to it,
// as a repeated quit message would end it.
bool WaitInMainThread(const Completion& done);

// Runs in the main thread when the handler thread has finished a request of it: ends the waits
// whose completion is set.
void EndCompletedMainThreadWaits();

}  // namespace kestrix
