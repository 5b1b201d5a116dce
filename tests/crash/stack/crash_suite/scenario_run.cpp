// \brief Running the scenario program through a pipe, with a deadline.
#include "tests/crash/stack/crash_suite/scenario_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace crash_suite {
namespace {

[[noreturn]] void ThrowSystemError(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

TScenarioRun RunScenario(const std::string& program,
                         const std::string& scenario,
                         std::chrono::seconds deadline) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        ThrowSystemError("pipe2");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string programArgument = program;
    std::string scenarioArgument = scenario;
    char* arguments[] = {programArgument.data(), scenarioArgument.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        throw std::system_error(spawned, std::generic_category(), "cannot start " + program);
    }

    TScenarioRun run;
    const auto end = std::chrono::steady_clock::now() + deadline;
    std::array<char, 4096> buffer{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd readable{pipeEnds[0], POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&readable, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            run.TimedOut = true;
            kill(child, SIGKILL);
            break;
        }
        const ssize_t count = read(pipeEnds[0], buffer.data(), buffer.size());
        if (count <= 0)
            break;
        run.Output.append(buffer.data(), static_cast<std::size_t>(count));
    }
    close(pipeEnds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        ThrowSystemError("waitpid");
    run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace crash_suite
