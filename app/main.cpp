// \brief Entry of the gatool program: dispatches to its commands.
#include <iostream>
#include <string_view>
#include <vector>

#include "app/analyze_command.h"
#include "numtext/number_marks.h"

namespace {

constexpr const char* Usage =
    "Usage: gatool analyze GAFILE... [options]\n"
    "\n"
    "gatool processes GA tests of the six-slit photon-counting instrument.\n"
    "  analyze   load GA files and print their peaks, GS and GI, and the CI simulation\n"
    "\n"
    "Run \"gatool analyze --help\" for the options.\n";

}  // namespace

int main(int argc, char** argv) {
    gatool::LoadNumberMarksFromUserLocale();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::cout << Usage;
        return arguments.empty() ? 2 : 0;
    }
    if (arguments[0] == "analyze") {
        return gatool::RunAnalyzeCommand(std::span(arguments).subspan(1), std::cout, std::cerr);
    }
    std::cerr << "gatool: unknown command \"" << arguments[0] << "\" (see gatool --help)\n";
    return 2;
}
