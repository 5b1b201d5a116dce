// \brief Pausing the program's threads while a failure is handled, cooperatively: a thread with a
// Qt event loop pauses where its event dispatcher is about to wait or has just woken, the main
// thread in a call posted to the reporter's message object. A thread is never stopped at an
// arbitrary point (it might hold the allocator's or Qt's locks), and a thread without an event
// loop is not paused. A paused thread keeps its errno.
#pragma once

#include <functional>

#include "crash/threads/main_thread_messenger.h"
#include "crash/threads/thread_ids.h"

namespace kestrix {

// Makes the calling thread pausable through its Qt event dispatcher; false when it has none.
bool AttachPauseHook();

// From now on every QThread is pausable from its start: it attaches when Qt names it, right
// after creating its event dispatcher.
void EnableThreadPausing();

// Asks the main thread (unless it is the calling thread) and every pausable registered thread
// other than the calling one and the handler thread, whose creator address qualifies, to pause.
// Returns without waiting: each thread pauses when it next reaches its event loop.
void PauseThreads(const MainThreadMessenger& messenger,
                  ThreadId handlerThread,
                  const std::function<bool(const void* creatorAddress)>& creatorQualifies);

// Lets every paused thread go on and drops the requests not yet reached.
void ResumeThreads();

// Whether the thread is blocked in a pause now.
bool ThreadIsPaused(ThreadId id);

}  // namespace kestrix
