// \brief Entry of the gatool program: "gatool analyze ..." runs the command line; anything else
// opens the window, loading the GA file and the DCF file given as arguments.
#include <QTimer>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/analyze_command.h"
#include "numtext/number_marks.h"
#include "ui/gui_application.h"
#include "ui/main_form.h"

namespace {

constexpr const char* Usage =
    "Usage: gatool [GAFILE [DCFFILE]]\n"
    "       gatool analyze GAFILE... [options]\n"
    "\n"
    "gatool processes GA tests of the six-slit photon-counting instrument.\n"
    "  (no command)  open the window, loading GAFILE and DCFFILE when given\n"
    "  analyze       load GA files and print their peaks, GS and GI, and the CI simulation\n"
    "\n"
    "Run \"gatool analyze --help\" for the options.\n";

// Opens the window and runs the message loop. Failures of the start-up steps reach the
// application's exception display; those of the start-up loads, like those of any handler, reach
// it through the message loop.
int RunWindow(int argc, char** argv, const std::vector<std::string_view>& files) {
    gatool::GuiApplication application(argc, argv);
    try {
        gatool::TMainForm mainForm(gatool::FileChooser{});
        mainForm.SetFileChooser(gatool::DialogFileChooser(&mainForm));
        mainForm.show();
        // Both loads in one handler once the loop runs: the first load's refreshes let pending
        // events run, and the second must not start in the middle of them.
        if (!files.empty()) {
            QTimer::singleShot(0, &mainForm, [&mainForm, &files] {
                gatool::GuiApplication::RunHandler([&] { mainForm.OpenGaFile(files[0]); });
                if (files.size() > 1) {
                    gatool::GuiApplication::RunHandler([&] { mainForm.OpenDcfFile(files[1]); });
                }
            });
        }
        gatool::GuiApplication::exec();
    } catch (...) {
        gatool::GuiApplication::ShowException(std::current_exception());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    gatool::LoadNumberMarksFromUserLocale();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::cout << Usage;
        return 0;
    }
    if (!arguments.empty() && arguments[0] == "analyze") {
        return gatool::RunAnalyzeCommand(std::span(arguments).subspan(1), std::cout, std::cerr);
    }
    if (arguments.size() > 2) {
        std::cerr << "gatool: too many arguments (see gatool --help)\n";
        return 2;
    }
    return RunWindow(argc, argv, arguments);
}
