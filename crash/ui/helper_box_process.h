// \brief The failure box in a helper process, for a failure the GUI thread cannot show (a fault
// of that thread, a frozen GUI thread): the same executable started with an argument vector (never
// through a shell) whose first argument asks for the box; its exit code carries the choice.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "crash/ui/failure_box_content.h"

namespace kestrix {

inline constexpr const char* HelperBoxArgument = "--kestrix-failure-box";

// Asked while the helper runs; true ends it early (the box of a freeze that has passed).
using HelperEndsEarly = std::function<bool()>;

// Starts the same executable with these arguments after its name, never through a shell, and
// waits for it: its exit code; none when it could not be started, did not exit by itself or was
// ended early.
std::optional<int> RunHelperProcess(const std::vector<std::string>& arguments,
                                    const HelperEndsEarly& endsEarly = {});

// Starts the helper and waits for its choice; eaContinueApplication when it could not be started,
// was ended early or ended without one (the outcome rules of the failure then decide).
TExceptAction ShowBoxInHelperProcess(FailureBoxContent content,
                                     const HelperEndsEarly& endsEarly = {});

// In the helper: when the arguments ask for the box, shows it in an application object of its own
// and returns the exit code to end with; none for an ordinary start.
std::optional<int> RunHelperBoxIfAsked(int argc, char** argv);

}  // namespace kestrix
