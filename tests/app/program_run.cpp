// Child processes for the tests; see program_run.h.
#include "tests/app/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace gatool::testing {

std::vector<char*> NullTerminated(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProgramRun RunProgram(const std::string& program,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment) {
    std::string folderTemplate = (std::filesystem::temp_directory_path() / "gatool_run_XXXXXX");
    if (mkdtemp(folderTemplate.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    const std::filesystem::path folder = folderTemplate;
    const std::string outPath = folder / "out";
    const std::string errPath = folder / "err";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> argumentTexts{program};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = environment;
    std::vector<char*> argv = NullTerminated(argumentTexts);
    std::vector<char*> envp = NullTerminated(environmentTexts);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::filesystem::remove_all(folder);
        throw std::system_error(spawned, std::generic_category(), "posix_spawn " + program);
    }
    int waitStatus = 0;
    while (waitpid(child, &waitStatus, 0) < 0) {
        if (errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "waitpid");
        }
    }
    ProgramRun run;
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
    run.out = ReadWhole(outPath);
    run.err = ReadWhole(errPath);
    std::filesystem::remove_all(folder);
    return run;
}

}  // namespace gatool::testing
