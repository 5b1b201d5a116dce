// \brief The command line of the gatool program: which command it runs, and the files the window
// loads at start-up.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "app/usage_error.h"

namespace gatool {

enum class ProgramCommand {
    Window,   // open the window, loading the files when given
    Analyze,  // `gatool analyze`
    Help,
    Version,
};

struct ProgramArguments {
    ProgramCommand Command = ProgramCommand::Window;
    // Window: GAFILE and DCFFILE, when given; Analyze: the arguments after "analyze".
    std::vector<std::string_view> Rest;
};

// Raises UsageError for an unknown command or option and for more files than the window loads. The
// first argument is a command when it names no existing file and has neither "/" nor "." in it;
// "--" ends the options and makes every argument after it a file.
ProgramArguments ParseProgramArguments(std::span<const std::string_view> arguments);

extern const char* const ProgramUsage;

}  // namespace gatool
