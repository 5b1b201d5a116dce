// \brief Restart through fork and execv, and the take-over at start-up.
#include "crash/threads/application_restart.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "crash/threads/recent_failure_times.h"
#include "crash/threads/thread_ids.h"

namespace kestrix {
namespace {

struct RestartMemory {
    std::uint32_t OldProcessId;
    std::uint32_t MappingHandle;
    std::uint64_t FailureTimes[RecentFailureCount];
};
static_assert(sizeof(RestartMemory) == 88);

[[noreturn]] void ThrowSystemError(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

std::vector<std::string> CommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    std::vector<std::string> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\0', start);
        arguments.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return arguments;
}

// The forked copy: only async-signal-safe calls until execv. It waits until the old process has
// written the memory; a closed pipe without that word means the restart was given up.
[[noreturn]] void RunNewProcess(int goPipe, char* const* argv) {
    char go = 0;
    ssize_t got = 0;
    do {
        got = read(goPipe, &go, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 1) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execv("/proc/self/exe", argv);
    }
    _exit(127);
}

void WriteRestartMemory(pid_t newProcess) {
    const std::string name = RestartMemoryName(newProcess);
    const int descriptor = shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        ThrowSystemError("cannot create the restart memory");
    }
    const bool sized = ftruncate(descriptor, sizeof(RestartMemory)) == 0;
    void* mapping = sized ? mmap(nullptr, sizeof(RestartMemory), PROT_READ | PROT_WRITE, MAP_SHARED,
                                 descriptor, 0)
                          : MAP_FAILED;
    const int mapError = errno;
    close(descriptor);
    if (mapping == MAP_FAILED) {
        shm_unlink(name.c_str());
        errno = mapError;
        ThrowSystemError("cannot write the restart memory");
    }
    RestartMemory memory{};
    memory.OldProcessId = static_cast<std::uint32_t>(getpid());
    const FailureTimes times = RecentFailureTimes();
    std::memcpy(memory.FailureTimes, times.data(), sizeof memory.FailureTimes);
    std::memcpy(mapping, &memory, sizeof memory);
    munmap(mapping, sizeof(RestartMemory));
}

void WaitForProcessEnd(pid_t process) {
    const auto descriptor = static_cast<int>(syscall(SYS_pidfd_open, process, 0));
    if (descriptor < 0) {
        return;  // it has ended and been reaped already
    }
    pollfd ended{.fd = descriptor, .events = POLLIN, .revents = 0};
    while (poll(&ended, 1, -1) < 0 && errno == EINTR) {
    }
    close(descriptor);
}

}  // namespace

std::string RestartMemoryName(pid_t process) {
    // A process id is its main thread's id, and is written the same way.
    return "/KestrixRestart" + ThreadIdText(process);
}

void RestartApplication() {
    const std::vector<std::string> arguments = CommandLine();
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    int goPipe[2];
    if (pipe2(goPipe, O_CLOEXEC) != 0) {
        ThrowSystemError("cannot start the new process");
    }
    const pid_t newProcess = fork();
    if (newProcess == 0) {
        close(goPipe[1]);
        RunNewProcess(goPipe[0], argv.data());
    }
    close(goPipe[0]);
    if (newProcess < 0) {
        close(goPipe[1]);
        ThrowSystemError("cannot start the new process");
    }
    try {
        WriteRestartMemory(newProcess);
    } catch (...) {
        close(goPipe[1]);  // the new process gives up without running
        throw;
    }
    const char go = 1;
    while (write(goPipe[1], &go, 1) < 0 && errno == EINTR) {
    }
    _exit(RestartExitCode);
}

std::optional<pid_t> TakeOverRestart() {
    const std::string name = RestartMemoryName(getpid());
    const int descriptor = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (descriptor < 0) {
        return std::nullopt;
    }
    shm_unlink(name.c_str());
    struct stat status {};
    void* mapping = MAP_FAILED;
    if (fstat(descriptor, &status) == 0 &&
        status.st_size == static_cast<off_t>(sizeof(RestartMemory)) && status.st_uid == geteuid()) {
        mapping = mmap(nullptr, sizeof(RestartMemory), PROT_READ, MAP_SHARED, descriptor, 0);
    }
    close(descriptor);
    if (mapping == MAP_FAILED) {
        return std::nullopt;
    }
    RestartMemory memory{};
    std::memcpy(&memory, mapping, sizeof memory);
    munmap(mapping, sizeof(RestartMemory));

    const auto oldProcess = static_cast<pid_t>(memory.OldProcessId);
    WaitForProcessEnd(oldProcess);
    FailureTimes times{};
    std::memcpy(times.data(), memory.FailureTimes, sizeof memory.FailureTimes);
    SetRecentFailureTimes(times);
    return oldProcess;
}

}  // namespace kestrix
