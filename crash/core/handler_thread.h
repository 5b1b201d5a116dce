// \brief The handler thread: it reads failure requests from its pipe and handles them one at a
// time, in the order they arrive; it sets each request's completion and wakes the main thread's
// event loop, where a failing main thread waits.
#pragma once

#include <functional>
#include <thread>

#include "crash/core/failure_request.h"
#include "crash/threads/main_thread_messenger.h"

namespace kestrix {

inline constexpr std::chrono::milliseconds HandlerThreadEndTimeout{500};

class HandlerThread {
  public:
    using Handler = std::function<void(const FailureRequest& request)>;

    HandlerThread(Handler handler, const MainThreadMessenger& messenger);
    // Writes the ending request and gives the thread 500 ms; one still busy then is left to the
    // end of the process.
    ~HandlerThread();
    HandlerThread(const HandlerThread&) = delete;
    HandlerThread& operator=(const HandlerThread&) = delete;

    // Hands the request over; false when the pipe refuses it. Async-signal-safe.
    bool Submit(FailureRequest* request) const noexcept;

    ThreadId Id() const { return m_id.load(); }
    // Whether it is handling a request now. Async-signal-safe.
    bool Handling() const noexcept { return m_handling.load(); }

  private:
    void Run();

    Handler m_handler;
    const MainThreadMessenger& m_messenger;
    int m_readEnd = -1;
    int m_writeEnd = -1;
    std::atomic<ThreadId> m_id{0};
    std::atomic<bool> m_handling{false};
    Completion m_started;
    Completion m_ended;
    std::thread m_thread;
};

}  // namespace kestrix
