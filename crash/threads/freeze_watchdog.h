// \brief The freeze watchdog: it probes the main thread through the message object every
// FreezeTimeout / 10 and reports a freeze after ten unanswered cycles in a row.
//
// Each cycle posts the probe, sleeps one interval and then drains the watchdog's own queue; the
// main thread answers a probe by posting the message (777, 777) back. After the tenth missed cycle
// the freeze handler runs (failure handling with etFrozen and esAntiFreezeCheck), the count starts
// again and the interval grows by half, for every further report of the same freeze; an answered
// cycle resets both. Only one watchdog runs in a process: it holds the registry's watchdog mutex.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "crash/settings/ikx_settings.h"
#include "crash/threads/main_thread_messenger.h"

namespace kestrix {

inline constexpr int FreezeAnswerValue = 777;
inline constexpr int MissedCyclesForFreeze = 10;

class FreezeWatchdog {
  public:
    using FreezeHandler = std::function<void()>;

    // Starts watching unless another watchdog runs in the process (then Running() is false).
    FreezeWatchdog(const MainThreadMessenger& messenger,
                   std::chrono::milliseconds freezeTimeout,
                   FreezeHandler freezeHandler);
    ~FreezeWatchdog();
    FreezeWatchdog(const FreezeWatchdog&) = delete;
    FreezeWatchdog& operator=(const FreezeWatchdog&) = delete;

    bool Running() const { return m_thread.joinable(); }

    std::chrono::milliseconds Interval() const;
    std::uint64_t AnsweredCycles() const { return m_state->AnsweredCycles.load(); }

  private:
    struct Message {
        std::int64_t First;
        std::int64_t Second;
    };
    // Shared with the probes still queued for the main thread, which may outlive the watchdog.
    struct State {
        std::mutex QueueGuard;
        std::deque<Message> Queue;
        std::atomic<bool> Stop{false};
        std::atomic<int> MissedCycles{0};
        std::atomic<std::int64_t> BaseIntervalMs{0};
        std::atomic<std::int64_t> IntervalMs{0};
        std::atomic<std::uint64_t> AnsweredCycles{0};

        void PostMessage(Message message);
        bool DrainAnswered();
    };
    friend void ImNotFrozen();
    friend void SetFreezeTimeout(int seconds);

    void Watch();
    bool SleepOneInterval();

    const MainThreadMessenger& m_messenger;
    const FreezeHandler m_freezeHandler;
    const std::shared_ptr<State> m_state = std::make_shared<State>();
    std::unique_lock<std::mutex> m_watchdogLock;
    std::thread m_thread;
};

// The watchdog the settings ask for: none unless `CheckFreeze` is set, watching with the time-out
// `FreezeTimeout` in milliseconds.
std::unique_ptr<FreezeWatchdog> StartFreezeWatchdog(const IKXSettings& settings,
                                                    const MainThreadMessenger& messenger,
                                                    FreezeWatchdog::FreezeHandler freezeHandler);

// Nests: the watchdog waits while more pauses than resumptions have been asked for.
void PauseFreezeCheck(bool pause);
bool FreezeCheckPaused();

// Tells the running watchdog that the main thread is alive: the count starts again and the answer
// is posted as the main thread would.
void ImNotFrozen();

// The running watchdog's time-out, in whole seconds (at least one).
void SetFreezeTimeout(int seconds);

}  // namespace kestrix
