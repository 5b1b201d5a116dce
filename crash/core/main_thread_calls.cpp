// \brief The probe and the call posted to the main thread.
#include "crash/core/main_thread_calls.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace kestrix {
namespace {

std::atomic<bool> g_mainThreadRunsHandlers{false};

// Shared with the posted call, which may still run after a probe has timed out.
struct Answer {
    std::mutex Guard;
    std::condition_variable Arrived;
    int Value = 0;

    void Give(int value) {
        const std::lock_guard lock(Guard);
        Value = value;
        Arrived.notify_all();
    }
};

std::shared_ptr<Answer> Post(const MainThreadMessenger& messenger, std::function<void()> call) {
    auto answer = std::make_shared<Answer>();
    messenger.Post([answer, call = std::move(call)] {
        if (call) {
            g_mainThreadRunsHandlers = true;
            try {
                call();
            } catch (...) {
                // Each handler is guarded already; nothing may unwind into the event loop.
            }
            g_mainThreadRunsHandlers = false;
        }
        answer->Give(MainThreadAnswer);
    });
    return answer;
}

}  // namespace

MainThreadSynchronousCaller::MainThreadSynchronousCaller(const MainThreadMessenger& messenger)
    : m_messenger(messenger) {}

bool MainThreadSynchronousCaller::CallInMainThread(const std::function<void()>& call) {
    const auto probe = Post(m_messenger, nullptr);
    {
        std::unique_lock lock(probe->Guard);
        if (!probe->Arrived.wait_for(lock, MainThreadProbeTimeout,
                                     [&] { return probe->Value == MainThreadAnswer; })) {
            return false;
        }
    }
    const auto answer = Post(m_messenger, call);
    std::unique_lock lock(answer->Guard);
    answer->Arrived.wait(lock, [&] { return answer->Value == MainThreadAnswer; });
    return true;
}

bool MainThreadRunsHandlers() {
    return g_mainThreadRunsHandlers.load();
}

}  // namespace kestrix
