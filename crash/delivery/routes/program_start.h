// \brief Starting a helper program (xdg-email, xdg-open) with an argument vector, found on the
// PATH, never through a shell, and waiting for its end.
#pragma once

#include <string>
#include <vector>

namespace kestrix {

// The program's exit code; -1 when it could not be started or did not end normally.
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace kestrix
