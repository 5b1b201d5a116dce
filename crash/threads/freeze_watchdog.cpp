// \brief The watchdog's cycle on a thread of its own; the pause count and the running watchdog are
// process-wide.
#include "crash/threads/freeze_watchdog.h"

#include <algorithm>
#include <condition_variable>
#include <stdexcept>

#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

// The freeze check's pause count, and what the watchdog waits on while it sleeps or is paused.
struct FreezeCheckGate {
    std::mutex Guard;
    std::condition_variable Changed;
    std::atomic<int> PauseCount{0};
    FreezeWatchdog* Running = nullptr;
};

FreezeCheckGate& Gate() {
    static FreezeCheckGate gate;
    return gate;
}

}  // namespace

void FreezeWatchdog::State::PostMessage(Message message) {
    std::lock_guard lock(QueueGuard);
    Queue.push_back(message);
}

bool FreezeWatchdog::State::DrainAnswered() {
    std::lock_guard lock(QueueGuard);
    const bool answered = std::ranges::any_of(Queue, [](const Message& message) {
        return message.First == FreezeAnswerValue && message.Second == FreezeAnswerValue;
    });
    Queue.clear();
    return answered;
}

FreezeWatchdog::FreezeWatchdog(const MainThreadMessenger& messenger,
                               std::chrono::milliseconds freezeTimeout,
                               FreezeHandler freezeHandler)
    : m_messenger(messenger),
      m_freezeHandler(std::move(freezeHandler)),
      m_watchdogLock(WatchdogMutex(), std::try_to_lock) {
    if (!m_watchdogLock.owns_lock()) {
        return;
    }
    const std::int64_t interval = std::max<std::int64_t>(freezeTimeout.count() / 10, 1);
    m_state->BaseIntervalMs = interval;
    m_state->IntervalMs = interval;
    {
        std::lock_guard lock(Gate().Guard);
        Gate().Running = this;
    }
    m_thread = std::thread([this] { Watch(); });
}

FreezeWatchdog::~FreezeWatchdog() {
    if (!Running()) {
        return;
    }
    FreezeCheckGate& gate = Gate();
    {
        std::lock_guard lock(gate.Guard);
        m_state->Stop = true;
        gate.Running = nullptr;
    }
    gate.Changed.notify_all();
    m_thread.join();
}

std::chrono::milliseconds FreezeWatchdog::Interval() const {
    return std::chrono::milliseconds(m_state->IntervalMs.load());
}

bool FreezeWatchdog::SleepOneInterval() {
    FreezeCheckGate& gate = Gate();
    std::unique_lock lock(gate.Guard);
    gate.Changed.wait_for(lock, Interval(), [this] { return m_state->Stop.load(); });
    return !m_state->Stop;
}

void FreezeWatchdog::Watch() {
    NameThread(0, ReporterThreadName);
    FreezeCheckGate& gate = Gate();
    State& state = *m_state;
    while (!state.Stop) {
        {
            std::unique_lock lock(gate.Guard);
            gate.Changed.wait(lock, [&] { return state.Stop || gate.PauseCount == 0; });
        }
        const std::weak_ptr<State> probed = m_state;
        m_messenger.Post([probed] {
            if (const auto answered = probed.lock()) {
                answered->PostMessage({FreezeAnswerValue, FreezeAnswerValue});
            }
        });
        if (!SleepOneInterval()) {
            break;
        }
        const bool answered = state.DrainAnswered();
        if (FreezeCheckPaused()) {
            continue;  // a cycle the check was paused in counts neither way
        }
        if (answered) {
            state.MissedCycles = 0;
            state.IntervalMs = state.BaseIntervalMs.load();
            ++state.AnsweredCycles;
        } else if (++state.MissedCycles >= MissedCyclesForFreeze) {
            try {
                m_freezeHandler();
            } catch (...) {
                // A failure of the report never stops the watchdog.
            }
            state.MissedCycles = 0;
            state.IntervalMs = state.IntervalMs * 3 / 2;
        }
    }
}

std::unique_ptr<FreezeWatchdog> StartFreezeWatchdog(const IKXSettings& settings,
                                                    const MainThreadMessenger& messenger,
                                                    FreezeWatchdog::FreezeHandler freezeHandler) {
    if (!settings.CheckFreeze()) {
        return nullptr;
    }
    return std::make_unique<FreezeWatchdog>(
        messenger, std::chrono::milliseconds(settings.FreezeTimeout()), std::move(freezeHandler));
}

void PauseFreezeCheck(bool pause) {
    FreezeCheckGate& gate = Gate();
    if (pause) {
        gate.PauseCount.fetch_add(1);
    } else {
        gate.PauseCount.fetch_sub(1);
    }
    {
        std::lock_guard lock(gate.Guard);  // orders the change before the watchdog's next look
    }
    gate.Changed.notify_all();
}

bool FreezeCheckPaused() {
    return Gate().PauseCount.load() > 0;
}

void ImNotFrozen() {
    FreezeCheckGate& gate = Gate();
    std::lock_guard lock(gate.Guard);
    if (gate.Running != nullptr) {
        gate.Running->m_state->MissedCycles = 0;
        gate.Running->m_state->PostMessage({FreezeAnswerValue, FreezeAnswerValue});
    }
}

void SetFreezeTimeout(int seconds) {
    if (seconds < 1) {
        throw std::invalid_argument("The freeze time-out must be at least one second, not " +
                                    std::to_string(seconds) + ".");
    }
    FreezeCheckGate& gate = Gate();
    std::lock_guard lock(gate.Guard);
    if (gate.Running != nullptr) {
        const std::int64_t interval = std::int64_t{seconds} * 1000 / 10;
        gate.Running->m_state->BaseIntervalMs = interval;
        gate.Running->m_state->IntervalMs = interval;
    }
}

}  // namespace kestrix
