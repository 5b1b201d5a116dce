// \brief Thread ids through the kernel's own calls.
#include "crash/threads/thread_ids.h"

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace kestrix {

ThreadId CurrentThreadId() {
    return gettid();
}

std::string ThreadIdText(ThreadId id) {
    char digits[16];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(id), 16).ptr;
    return "$" + std::string(digits, end);
}

bool ThreadIsAlive(ThreadId id) {
    // Signal 0 only checks that the thread exists in this thread group.
    return syscall(SYS_tgkill, getpid(), id, 0) == 0 || errno == EPERM;
}

}  // namespace kestrix
