#include "tests/crash/delivery/child_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrix::test {

ChildResult RunChild(const std::vector<std::string>& arguments) {
    int output[2];
    if (pipe(output) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawn_file_actions_adddup2(&actions, output[1], 2);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    ChildResult result;
    char buffer[4096];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;) {
        result.Output.append(buffer, static_cast<std::size_t>(count));
    }
    close(output[0]);
    if (spawned != 0) {
        result.Output = "cannot start " + arguments.front();
        return result;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace kestrix::test
