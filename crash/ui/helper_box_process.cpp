// \brief Starting the helper with posix_spawn and running the box in it.
#include "crash/ui/helper_box_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "crash/ui/failure_box_run.h"

extern char** environ;

namespace kestrix {
namespace {

// The helper's exit codes: the action's number above this base.
constexpr int ChoiceExitBase = 100;
constexpr std::chrono::milliseconds HelperPollInterval{50};

}  // namespace

std::optional<int> RunHelperProcess(const std::vector<std::string>& helperArguments,
                                    const HelperEndsEarly& endsEarly) {
    std::vector<std::string> arguments = {"kestrix-helper"};
    arguments.insert(arguments.end(), helperArguments.begin(), helperArguments.end());
    std::vector<char*> argumentVector;
    for (std::string& each : arguments) {
        argumentVector.push_back(each.data());
    }
    argumentVector.push_back(nullptr);
    pid_t helper = 0;
    if (posix_spawn(&helper, "/proc/self/exe", nullptr, nullptr, argumentVector.data(), environ) !=
        0) {
        return std::nullopt;
    }
    int status = 0;
    while (true) {
        const pid_t ended = waitpid(helper, &status, endsEarly ? WNOHANG : 0);
        if (ended == helper) {
            break;
        }
        if (ended < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (ended == 0) {
            if (endsEarly()) {
                kill(helper, SIGTERM);
                while (waitpid(helper, &status, 0) < 0 && errno == EINTR) {
                }
                return std::nullopt;
            }
            std::this_thread::sleep_for(HelperPollInterval);
        }
    }
    if (!WIFEXITED(status)) {
        return std::nullopt;
    }
    return WEXITSTATUS(status);
}

TExceptAction ShowBoxInHelperProcess(FailureBoxContent content, const HelperEndsEarly& endsEarly) {
    // The helper has no failure object: it offers the outcomes only, and the report was saved
    // before it started.
    std::fill(content.Visible.begin(), content.Visible.begin() + bContinueApplication, false);
    if (content.Mode == ssDetailBox) {
        content.Mode = ssSimpleBox;
    }
    std::vector<std::string> arguments = {HelperBoxArgument};
    for (std::string& each : BoxArguments(content)) {
        arguments.push_back(std::move(each));
    }
    const std::optional<int> exitCode = RunHelperProcess(arguments, endsEarly);
    if (!exitCode) {
        return eaContinueApplication;
    }
    const int choice = *exitCode - ChoiceExitBase;
    return choice == eaRestartApplication || choice == eaCloseApplication
               ? static_cast<TExceptAction>(choice)
               : eaContinueApplication;
}

std::optional<int> RunHelperBoxIfAsked(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) != HelperBoxArgument) {
        return std::nullopt;
    }
    const std::optional<FailureBoxContent> content =
        BoxContentFromArguments(std::vector<std::string>(argv + 2, argv + argc));
    if (!content) {
        return ChoiceExitBase + eaContinueApplication;
    }
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    return ChoiceExitBase + RunFailureBox(*content, {});
}

}  // namespace kestrix
