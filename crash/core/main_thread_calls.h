// \brief Synchronous handler calls in the main thread through the reporter's message object: a
// probe that the main thread must answer with 777 within 1500 ms, then the real call, answered
// with 777 again and awaited without a time-out.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include "crash/core/handler_registry.h"
#include "crash/threads/main_thread_messenger.h"

namespace kestrix {

inline constexpr std::chrono::milliseconds MainThreadProbeTimeout{1500};
inline constexpr int MainThreadAnswer = 777;

class MainThreadSynchronousCaller : public SynchronousCaller {
  public:
    explicit MainThreadSynchronousCaller(const MainThreadMessenger& messenger);
    bool CallInMainThread(const std::function<void()>& call) override;

  private:
    const MainThreadMessenger& m_messenger;
};

// Whether the main thread is running handlers for the reporter right now.
bool MainThreadRunsHandlers();

}  // namespace kestrix
