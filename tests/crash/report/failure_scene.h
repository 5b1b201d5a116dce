// A real failure in a process with several threads, for tests and benchmarks of the full report:
// threads that wait in a procedure of their own until released, and a C++ exception raised,
// caught and turned into a failure object with the registers of the catching moment.
#pragma once

#include <ucontext.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "crash/core/handle_exception.h"
#include "crash/threads/thread_ids.h"

namespace kestrix::test {

// Whether the thread sleeps in the kernel now (state S of its stat line).
inline bool ThreadSleeps(ThreadId thread) {
    std::ifstream file("/proc/self/task/" + std::to_string(thread) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::size_t nameEnd = stat.rfind(')');
    return nameEnd != std::string::npos && stat.compare(nameEnd, 4, ") S ") == 0;
}

class WaitingThreads {
  public:
    // Each thread runs atStart with its index first; the constructor returns once all of them
    // sleep in their wait.
    explicit WaitingThreads(std::size_t count,
                            const std::function<void(std::size_t)>& atStart = {}) {
        for (std::size_t index = 0; index < count; ++index)
            m_threads.emplace_back([this, index, atStart] {
                if (atStart)
                    atStart(index);
                WaitForRelease();
            });
        std::unique_lock lock(m_guard);
        m_changed.wait(lock, [&] { return m_ids.size() == count; });
        lock.unlock();
        for (const ThreadId id : m_ids) {
            while (!ThreadSleeps(id))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    ~WaitingThreads() {
        {
            const std::lock_guard lock(m_guard);
            m_released = true;
        }
        m_changed.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

    WaitingThreads(const WaitingThreads&) = delete;
    WaitingThreads& operator=(const WaitingThreads&) = delete;

    std::vector<ThreadId> Ids() const {
        const std::lock_guard lock(m_guard);
        return m_ids;
    }

  private:
    [[gnu::noinline]] void WaitForRelease() {
        std::unique_lock lock(m_guard);
        m_ids.push_back(CurrentThreadId());
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released; });
    }

    mutable std::mutex m_guard;
    std::condition_variable m_changed;
    std::vector<ThreadId> m_ids;
    bool m_released = false;
    std::vector<std::thread> m_threads;
};

inline constexpr const char* TestFailureMessage = "Floating point division by zero!!!";

[[gnu::noinline]] inline void RaiseTestFailure() {
    throw std::runtime_error(TestFailureMessage);
}

// The failure of RaiseTestFailure as the application's exception handler would hand it over,
// with the registers of the catching moment as its CPU context.
[[gnu::noinline]] inline std::shared_ptr<IKXException> CaughtTestFailure() {
    try {
        RaiseTestFailure();
    } catch (...) {
        ExceptionValues values{.Source = esApplicationHandleException};
        ucontext_t context{};
        getcontext(&context);
        CpuContext registers;
        std::memcpy(registers.Registers, context.uc_mcontext.gregs, sizeof registers.Registers);
        values.Context = registers;
        CompleteExceptionValues(values);
        return NewException(std::move(values));
    }
    return nullptr;
}

}  // namespace kestrix::test
