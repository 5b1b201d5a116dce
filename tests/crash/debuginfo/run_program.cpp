// \brief Child processes for the tests, through posix_spawn.
#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace kestrix::test {

namespace {

// Runs the program with the given descriptor's output read into text; the exit code.
int RunReading(const std::vector<std::string>& arguments, int descriptor, std::string& text) {
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot create a pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], descriptor);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, std::size_t(got));
    }
    ::close(pipe[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child) {
        throw std::runtime_error("cannot run " + arguments.front());
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments) {
    ProgramResult result;
    result.ExitCode = RunReading(arguments, STDERR_FILENO, result.Errors);
    return result;
}

std::string ProgramOutput(const std::vector<std::string>& arguments) {
    std::string output;
    if (RunReading(arguments, STDOUT_FILENO, output) != 0) {
        throw std::runtime_error(arguments.front() + " failed");
    }
    return output;
}

}  // namespace kestrix::test
