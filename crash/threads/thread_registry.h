// \brief The process-wide thread registry: each known thread's name, the class name of its thread
// object, the address that created it and the creating thread; the display texts of threads.
//
// The registry is one process-wide object rather than named shared memory: what it holds (thread
// ids, handles, code addresses) only means something inside this process, and every module of the
// process reaches it through the one copy of this library. Threads that the program starts are
// entered by the thread creation wrapper whether or not the reporter has been set up; joining the
// registry names the main thread and counts the modules that use it.
#pragma once

#include <pthread.h>

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/threads/thread_ids.h"

namespace kestrix {

inline constexpr std::string_view MainThreadName = "main thread";
// The name of the reporter's own threads; it displays as no name.
inline constexpr std::string_view ReporterThreadName = "-";

struct ThreadEntry {
    ThreadId Id = 0;
    std::string Name;
    std::string ClassName;
    const void* CreatorAddress = nullptr;
    ThreadId CreatorThread = 0;
    // The thread's pthread handle when the thread entered itself.
    std::optional<pthread_t> Handle;
};

// Joins the registry; the first module to join names the main thread (the thread group's leader).
// Returns the number of modules that now use it.
int JoinThreadRegistry();
int LeaveThreadRegistry();

ThreadId MainThreadId();

// Enters the calling thread with its creator. Ended threads are dropped at every change.
void RegisterCurrentThread(const void* creatorAddress, ThreadId creatorThread);
void UnregisterThread(ThreadId id);

// Names a thread (0: the current one), entering it when it is not known yet.
void NameThread(ThreadId id, std::string_view name);
void SetThreadClassName(ThreadId id, std::string_view className);

// The thread's name (0: the current one); "" when it has none or the registry is busy for longer
// than 50 ms.
std::string GetThreadName(ThreadId id);

// "name ($id)"; a thread without a name (the reporter's own threads included): "thread $id", and
// " (ClassName)" when its class is known. A registry busy for longer than 50 ms gives "thread $id".
std::string ThreadDisplayText(ThreadId id);

// The id of the registered thread with that handle; 0 when none has it.
ThreadId ThreadIdOfHandle(pthread_t handle);

// The entries of the threads that still run.
std::vector<ThreadEntry> RegisteredThreads();

// Taken by the one freeze watchdog that runs in the process.
std::mutex& WatchdogMutex();

}  // namespace kestrix
