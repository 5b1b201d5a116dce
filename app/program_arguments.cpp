// \brief The gatool program's command line; see program_arguments.h.
#include "app/program_arguments.h"

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <string>

namespace gatool {

const char* const ProgramUsage =
    "Usage: gatool [GAFILE [DCFFILE]]\n"
    "       gatool analyze GAFILE... [options]\n"
    "       gatool --help | --version\n"
    "\n"
    "gatool processes GA tests of the six-slit photon-counting instrument.\n"
    "  (no command)  open the window, loading GAFILE and DCFFILE when given\n"
    "  analyze       load GA files and print their peaks, GS and GI, and the CI simulation\n"
    "\n"
    "A first argument that names no existing file and has neither \"/\" nor \".\" in it is taken\n"
    "as a command. Put \"--\" before file names that begin with \"-\". The window needs a display\n"
    "(DISPLAY or WAYLAND_DISPLAY, or a platform chosen in QT_QPA_PLATFORM such as offscreen);\n"
    "gatool analyze runs without one.\n"
    "\n"
    "Run \"gatool analyze --help\" for its options.\n"
    "\n"
    "Exit status: 0 after the window was closed, 1 when a file named cannot be read or no\n"
    "display is there, 2 for a bad command line.\n";

namespace {

constexpr std::string_view AnalyzeCommandName = "analyze";

// The number of single-character insertions, deletions and substitutions that turn a into b.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> previous(b.size() + 1);
    std::iota(previous.begin(), previous.end(), std::size_t{0});
    std::vector<std::size_t> current(b.size() + 1);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t substitution = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

bool IsCommandWord(std::string_view argument) {
    std::error_code error;
    return argument.find_first_of("/.") == std::string_view::npos &&
           !std::filesystem::exists(std::filesystem::path(argument), error);
}

[[noreturn]] void ThrowUnknownCommand(std::string_view word) {
    std::string message = "unknown command \"" + std::string(word) + "\"";
    if (EditDistance(word, AnalyzeCommandName) <= 2) {
        message += "; did you mean \"" + std::string(AnalyzeCommandName) + "\"?";
    }
    throw UsageError(message);
}

}  // namespace

ProgramArguments ParseProgramArguments(std::span<const std::string_view> arguments) {
    ProgramArguments parsed;
    if (!arguments.empty() && arguments[0] == AnalyzeCommandName) {
        parsed.Command = ProgramCommand::Analyze;
        parsed.Rest.assign(arguments.begin() + 1, arguments.end());
        return parsed;
    }
    bool optionsEnded = false;
    for (const std::string_view argument : arguments) {
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.starts_with('-')) {
            if (argument == "--help" || argument == "-h") {
                return {ProgramCommand::Help, {}};
            }
            if (argument == "--version") {
                return {ProgramCommand::Version, {}};
            }
            throw UsageError("unknown option \"" + std::string(argument) + "\"");
        } else if (!optionsEnded && parsed.Rest.empty() && IsCommandWord(argument)) {
            ThrowUnknownCommand(argument);
        } else {
            parsed.Rest.push_back(argument);
        }
    }
    if (parsed.Rest.size() > 2) {
        throw UsageError("too many files: the window loads one GA file and one DCF file");
    }
    return parsed;
}

}  // namespace gatool
