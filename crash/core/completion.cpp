// \brief The futex calls of the completion flag.
#include "crash/core/completion.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>

namespace kestrix {
namespace {

static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t));

long Futex(const std::atomic<std::uint32_t>& word,
           int operation,
           std::uint32_t value,
           const timespec* timeout = nullptr) noexcept {
    return syscall(SYS_futex, reinterpret_cast<const std::uint32_t*>(&word), operation, value,
                   timeout, nullptr, 0);
}

}  // namespace

void Completion::Set() noexcept {
    m_state = 1;
    Futex(m_state, FUTEX_WAKE_PRIVATE, INT_MAX);
}

void Completion::Wait() const noexcept {
    while (m_state.load() == 0) {
        Futex(m_state, FUTEX_WAIT_PRIVATE, 0);
    }
}

bool Completion::WaitFor(std::chrono::milliseconds timeout) const noexcept {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_state.load() == 0) {
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            return false;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        const timespec relative{
            .tv_sec = seconds.count(),
            .tv_nsec =
                std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count()};
        Futex(m_state, FUTEX_WAIT_PRIVATE, 0, &relative);
    }
    return true;
}

}  // namespace kestrix
