// \brief HandleException, the single entry of failure handling, and NewException, which makes a
// failure object without handling it.
#pragma once

#include <memory>

#include "crash/core/exception_values.h"
#include "crash/core/ikx_exception.h"

namespace kestrix {

// Hands the failure to the handler thread and waits until it has been handled: the main thread
// keeps dispatching its events meanwhile, every other thread blocks. Returns when the outcome was
// to continue (a restart or close does not return), at once on the handler thread and in the
// main thread while it runs handlers for the reporter. false when no reporter runs. Nothing
// escapes it.
bool HandleException(ExceptionValues values = {}) noexcept;

// Values not given completed as HandleException completes them, in the calling thread: the
// current exception, its raise-time stack, the current stack and frame pointers, the thread.
void CompleteExceptionValues(ExceptionValues& values);

// The failure object, with its class filters applied; the module settings default to those of
// the module holding the exception address.
std::shared_ptr<IKXException> NewException(
    ExceptionValues values,
    std::shared_ptr<IKXModuleSettings> moduleSettings = nullptr);

}  // namespace kestrix
