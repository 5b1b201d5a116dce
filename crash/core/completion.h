// \brief A one-time completion flag that a thread can wait on also inside a signal handler: set
// and awaited through a futex, which needs no lock and allocates nothing.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace kestrix {

class Completion {
  public:
    // Async-signal-safe, as is Wait.
    void Set() noexcept;
    bool IsSet() const noexcept { return m_state.load() != 0; }
    void Wait() const noexcept;
    // Whether it was set within the time-out.
    bool WaitFor(std::chrono::milliseconds timeout) const noexcept;
    void Reset() noexcept { m_state = 0; }

  private:
    std::atomic<std::uint32_t> m_state{0};
};

}  // namespace kestrix
