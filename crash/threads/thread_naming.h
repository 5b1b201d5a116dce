// \brief Names that threads give themselves, or each other, through the system's own naming calls
// (pthread_setname_np, prctl PR_SET_NAME), recognised for the thread registry.
#pragma once

#include <pthread.h>

namespace kestrix {

// Called in a thread right after it has named itself.
using SelfNamingObserver = void (*)();

// Installs the observer and returns the one it replaces.
SelfNamingObserver SetSelfNamingObserver(SelfNamingObserver observer);

// The thread was given the name; a thread the registry does not know by its handle is left alone.
// Neither throws: they run inside the system's naming calls.
void RecogniseThreadName(pthread_t thread, const char* name) noexcept;
void RecogniseCurrentThreadName(const char* name) noexcept;

}  // namespace kestrix
