// \brief RestartApplication and its other half at start-up: the new process runs the same
// executable with the same arguments and takes over the old one's recent-failure times through
// the shared memory "KestrixRestart$<new process id in hex>".
//
// The memory holds 88 bytes: the old process id (32 bits), a mapping handle (32 bits; always 0
// here, because the name alone finds the memory and the new process removes the name once it has
// read it) and the ten recent-failure times (64 bits each).
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace kestrix {

inline constexpr int RestartExitCode = 2;

// "/KestrixRestart$" and the process id in lower-case hexadecimal digits.
std::string RestartMemoryName(pid_t process);

// Starts the executable anew (a forked copy that waits until the memory has been written, then
// executes /proc/self/exe with this process's arguments) and ends this process with exit code 2
// at once, with no finalisation, as CloseApplication does. Returns only by an exception,
// std::system_error, when the new process cannot be started.
[[noreturn]] void RestartApplication();

// At start-up: when this process was started by a restart, waits until the old process has ended
// (a process descriptor, which also sees a zombie end) and takes over its recent-failure times.
// Returns the old process id then.
std::optional<pid_t> TakeOverRestart();

}  // namespace kestrix
