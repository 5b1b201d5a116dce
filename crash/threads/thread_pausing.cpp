// \brief The pause lists, guarded by one mutex, and the pause point the hooks run.
#include "crash/threads/thread_pausing.h"

#include <QAbstractEventDispatcher>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

#include "crash/threads/thread_naming.h"
#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

struct PausableThread {
    ThreadId Id = 0;
    QAbstractEventDispatcher* Dispatcher = nullptr;
};

struct PauseState {
    std::mutex Guard;
    std::condition_variable Resumed;
    // Entries leave under the guard before their dispatcher goes, so a wake-up under the guard
    // never reaches a destroyed one.
    std::vector<PausableThread> Pausable;
    std::set<ThreadId> Requested;
    std::set<ThreadId> Paused;
};

PauseState& State() {
    static PauseState state;
    return state;
}

// Runs in the thread to pause, from its event loop.
void PausePoint() {
    const int savedErrno = errno;
    PauseState& state = State();
    const ThreadId self = CurrentThreadId();
    {
        std::unique_lock lock(state.Guard);
        if (state.Requested.contains(self)) {
            state.Paused.insert(self);
            state.Resumed.wait(lock, [&] { return !state.Requested.contains(self); });
            state.Paused.erase(self);
        }
    }
    errno = savedErrno;
}

void Detach(ThreadId id) {
    PauseState& state = State();
    std::lock_guard lock(state.Guard);
    std::erase_if(state.Pausable, [id](const PausableThread& thread) { return thread.Id == id; });
}

void AttachWhenNamed() {
    // Qt names a QThread inside it right after creating its dispatcher.
    AttachPauseHook();
}

}  // namespace

bool AttachPauseHook() {
    QThread* const thread = QThread::currentThread();
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance(thread);
    if (dispatcher == nullptr) {
        return false;
    }
    const ThreadId self = CurrentThreadId();
    {
        PauseState& state = State();
        std::lock_guard lock(state.Guard);
        if (std::ranges::find(state.Pausable, self, &PausableThread::Id) != state.Pausable.end()) {
            return true;
        }
        state.Pausable.push_back({self, dispatcher});
    }
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, &PausePoint,
                     Qt::DirectConnection);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, dispatcher, &PausePoint,
                     Qt::DirectConnection);
    // A finishing thread still has its dispatcher when it says so.
    QObject::connect(
        thread, &QThread::finished, dispatcher, [self] { Detach(self); }, Qt::DirectConnection);
    return true;
}

void EnableThreadPausing() {
    SetSelfNamingObserver(&AttachWhenNamed);
}

void PauseThreads(const MainThreadMessenger& messenger,
                  ThreadId handlerThread,
                  const std::function<bool(const void* creatorAddress)>& creatorQualifies) {
    const ThreadId self = CurrentThreadId();
    const ThreadId mainThread = MainThreadId();
    std::vector<ThreadId> qualifying;
    for (const ThreadEntry& entry : RegisteredThreads()) {
        if (entry.Id != self && entry.Id != mainThread && entry.Id != handlerThread &&
            creatorQualifies(entry.CreatorAddress)) {
            qualifying.push_back(entry.Id);
        }
    }
    PauseState& state = State();
    std::lock_guard lock(state.Guard);
    for (const PausableThread& thread : state.Pausable) {
        if (std::ranges::find(qualifying, thread.Id) != qualifying.end()) {
            state.Requested.insert(thread.Id);
            thread.Dispatcher->wakeUp();
        }
    }
    if (self != mainThread) {
        state.Requested.insert(mainThread);
        messenger.Post(&PausePoint);
    }
}

void ResumeThreads() {
    PauseState& state = State();
    {
        std::lock_guard lock(state.Guard);
        state.Requested.clear();
    }
    state.Resumed.notify_all();
}

bool ThreadIsPaused(ThreadId id) {
    PauseState& state = State();
    std::lock_guard lock(state.Guard);
    return state.Paused.contains(id);
}

}  // namespace kestrix
