// \brief CloseApplication: the outcome "close application".
#pragma once

namespace kestrix {

inline constexpr int CloseExitCode = 1;

// Ends the process at once with exit code 1; no finalisation (destructors, exit handlers,
// stream flushing) runs, so nothing the failure may have damaged is touched again.
[[noreturn]] void CloseApplication();

}  // namespace kestrix
