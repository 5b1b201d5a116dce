// \brief The handler thread's loop.
#include "crash/core/handler_thread.h"

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "crash/core/main_thread_wait.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

bool ReadWhole(int descriptor, void* buffer, std::size_t size) {
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t count = read(descriptor, bytes, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        bytes += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

// The highest priority the process may take; an ordinary user's process keeps its own.
void RaisePriority() {
    sched_param parameter{};
    parameter.sched_priority = sched_get_priority_max(SCHED_RR);
    pthread_setschedparam(pthread_self(), SCHED_RR, &parameter);
}

}  // namespace

HandlerThread::HandlerThread(Handler handler, const MainThreadMessenger& messenger)
    : m_handler(std::move(handler)), m_messenger(messenger) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "handler thread pipe");
    }
    m_readEnd = ends[0];
    m_writeEnd = ends[1];
    m_thread = std::thread([this] { Run(); });
    m_started.Wait();
}

HandlerThread::~HandlerThread() {
    FailureRequest end;
    if (Submit(&end)) {
        const auto deadline = std::chrono::steady_clock::now() + HandlerThreadEndTimeout;
        while (!m_ended.IsSet() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (m_ended.IsSet()) {
        m_thread.join();
        close(m_readEnd);
    } else {
        m_thread.detach();
    }
    close(m_writeEnd);
}

bool HandlerThread::Submit(FailureRequest* request) const noexcept {
    ssize_t written;
    do {
        written = write(m_writeEnd, &request, sizeof request);
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(sizeof request);
}

void HandlerThread::Run() {
    NameThread(0, ReporterThreadName);
    RaisePriority();
    m_id = CurrentThreadId();
    m_started.Set();
    FailureRequest* request = nullptr;
    while (ReadWhole(m_readEnd, &request, sizeof request) && !request->EndsHandlerThread()) {
        m_handling = true;
        try {
            m_handler(*request);
        } catch (...) {
            // The failing thread is released in every case.
        }
        m_handling = false;
        // Read before the completion is set: from then on the waiting thread may reuse the
        // request or let go of it.
        const bool wakeMainThread = request->CallingThread == MainThreadId();
        SharedFailureRequest* shared = request->Shared;
        request->Done->Set();
        if (wakeMainThread) {
            try {
                m_messenger.Post(&EndCompletedMainThreadWaits);
            } catch (...) {
                // Without the wake-up the main thread waits until the application quits.
            }
        }
        if (shared != nullptr) {
            shared->Release();
        }
    }
    m_ended.Set();
}

}  // namespace kestrix
