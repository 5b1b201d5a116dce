// \brief Entry of the gatool program: "gatool analyze ..." runs the command line; otherwise it
// opens the window, loading the GA file and the DCF file given as arguments.
#include <QTimer>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/analyze_command.h"
#include "app/program_arguments.h"
#include "app/window_start.h"
#include "crash/core/handle_exception.h"
#include "crash/report/module_version.h"
#include "crash/ui/kestrix_start.h"
#include "numtext/number_marks.h"
#include "ui/gui_application.h"
#include "ui/main_form.h"

namespace {

QtMessageHandler PreviousMessageHandler = nullptr;

// Installed while the application object is created. A fatal message there means that no platform
// plugin could be started (a display is named but cannot be reached): one line, status 1, instead
// of Qt's abort.
void StartUpMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", gatool::NoDisplayMessage);
        std::_Exit(1);
    }
    PreviousMessageHandler(type, context, text);
}

// Opens the window and runs the message loop. Failures of the start-up steps reach the
// application's exception display; those of the start-up loads, like those of any handler, reach
// it through the message loop. Qt sees only the program's name: the files are not its options.
int RunWindow(char* program, const std::vector<std::string_view>& files) {
    int qtArgumentCount = 1;
    char* qtArguments[] = {program, nullptr};
    PreviousMessageHandler = qInstallMessageHandler(StartUpMessageHandler);
    gatool::GuiApplication application(qtArgumentCount, qtArguments);
    qInstallMessageHandler(PreviousMessageHandler);
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
        // Escaped the message loop: the program cannot go on.
        if (!kestrix::HandleException({.Exception = std::current_exception(),
                                       .CanContinue = false,
                                       .Source = kestrix::esExceptProc})) {
            gatool::GuiApplication::ShowException(std::current_exception());
        }
    }
    return 0;
}

// The window's start: the files named must be readable and a display must be there, both found
// before the application object exists.
int OpenWindow(char* program, const std::vector<std::string_view>& files) {
    try {
        for (const std::string_view file : files) {
            gatool::RequireReadable(file);
        }
    } catch (const gatool::Exception& failure) {
        std::cerr << "gatool: " << failure.what() << '\n';
        return 1;
    }
    if (!gatool::DisplayAvailable([](const char* name) { return std::getenv(name); })) {
        std::cerr << gatool::NoDisplayMessage << '\n';
        return 1;
    }
    return RunWindow(program, files);
}

}  // namespace

int main(int argc, char** argv) {
    // The crash reporter first, before any of the program's own code.
    const auto crashReporter = kestrix::StartKestrix(argc, argv);
    kestrix::SetExecutableFileVersion(GATOOL_VERSION);
    gatool::LoadNumberMarksFromUserLocale();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    gatool::ProgramArguments parsed;
    try {
        parsed = gatool::ParseProgramArguments(arguments);
    } catch (const gatool::UsageError& error) {
        std::cerr << "gatool: " << error.what() << " (see gatool --help)\n";
        return 2;
    }
    switch (parsed.Command) {
        case gatool::ProgramCommand::Help:
            std::cout << gatool::ProgramUsage;
            return 0;
        case gatool::ProgramCommand::Version:
            std::cout << "gatool " << GATOOL_VERSION << '\n';
            return 0;
        case gatool::ProgramCommand::Analyze:
            return gatool::RunAnalyzeCommand(parsed.Rest, std::cout, std::cerr);
        case gatool::ProgramCommand::Window:
            break;
    }
    return OpenWindow(argv[0], parsed.Rest);
}
