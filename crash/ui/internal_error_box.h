// \brief The box of the reporter's own error messages ("Internal error: ..."), titled "Kestrix":
// in the main thread's application object when it runs one; otherwise (at start-up, before the
// program has made its application object, or from another thread) in a helper process started
// from the same executable; on standard error when no box can be shown (no display).
#pragma once

#include <optional>
#include <string_view>

namespace kestrix {

inline constexpr const char* InternalErrorBoxArgument = "--kestrix-internal-error";

void ShowInternalErrorBox(std::string_view title, std::string_view text);

// In the helper: when the arguments ask for the box, shows it in an application object of its own
// and returns the exit code to end with; none for an ordinary start.
std::optional<int> RunInternalErrorBoxIfAsked(int argc, char** argv);

}  // namespace kestrix
