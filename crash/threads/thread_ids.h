// \brief Kernel thread ids as the reporter names threads: the current one, the "$" + hex text form,
// and whether a thread of this process still runs.
#pragma once

#include <sys/types.h>

#include <string>

namespace kestrix {

using ThreadId = pid_t;

ThreadId CurrentThreadId();

// "$" and lower-case hexadecimal digits.
std::string ThreadIdText(ThreadId id);

bool ThreadIsAlive(ThreadId id);

}  // namespace kestrix
