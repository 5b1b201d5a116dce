// \brief The thread registry's list, guarded by one mutex.
#include "crash/threads/thread_registry.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace kestrix {
namespace {

// Waits for the list where a name can fall back to the thread's id.
constexpr std::chrono::milliseconds FallbackWait{50};

struct RegistryState {
    std::timed_mutex ListMutex;
    std::mutex WatchdogMutex;
    std::vector<ThreadEntry> Entries;
    int ModuleCount = 0;
};

RegistryState& Registry() {
    // Never destroyed: threads still end, and leave the list, while the process runs its exit.
    static RegistryState* const registry = new RegistryState;
    return *registry;
}

ThreadId Resolved(ThreadId id) {
    return id == 0 ? CurrentThreadId() : id;
}

void DropEndedThreads(std::vector<ThreadEntry>& entries) {
    std::erase_if(entries, [](const ThreadEntry& entry) { return !ThreadIsAlive(entry.Id); });
}

ThreadEntry* Find(std::vector<ThreadEntry>& entries, ThreadId id) {
    const auto found = std::ranges::find(entries, id, &ThreadEntry::Id);
    return found == entries.end() ? nullptr : &*found;
}

// The entry of a running thread, added when missing; nullptr for a thread that has ended.
ThreadEntry* FindOrAdd(std::vector<ThreadEntry>& entries, ThreadId id) {
    DropEndedThreads(entries);
    if (ThreadEntry* entry = Find(entries, id)) {
        return entry;
    }
    if (!ThreadIsAlive(id)) {
        return nullptr;
    }
    ThreadEntry entry;
    entry.Id = id;
    if (id == CurrentThreadId()) {
        entry.Handle = pthread_self();
    }
    entries.push_back(std::move(entry));
    return &entries.back();
}

std::optional<ThreadEntry> EntryWithin50ms(ThreadId id) {
    RegistryState& registry = Registry();
    std::unique_lock lock(registry.ListMutex, FallbackWait);
    if (!lock.owns_lock()) {
        return std::nullopt;
    }
    if (const ThreadEntry* entry = Find(registry.Entries, id)) {
        return *entry;
    }
    ThreadEntry unknown;
    unknown.Id = id;
    return unknown;
}

}  // namespace

int JoinThreadRegistry() {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    if (registry.ModuleCount++ == 0) {
        if (ThreadEntry* main = FindOrAdd(registry.Entries, MainThreadId())) {
            main->Name = MainThreadName;
        }
    }
    return registry.ModuleCount;
}

int LeaveThreadRegistry() {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    registry.ModuleCount = std::max(registry.ModuleCount - 1, 0);
    return registry.ModuleCount;
}

ThreadId MainThreadId() {
    // The thread group's leader, the first thread /proc/self/task lists.
    return getpid();
}

void RegisterCurrentThread(const void* creatorAddress, ThreadId creatorThread) {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    DropEndedThreads(registry.Entries);
    // A reused id belongs to a thread that has ended: its old entry goes.
    std::erase_if(registry.Entries,
                  [](const ThreadEntry& entry) { return entry.Id == CurrentThreadId(); });
    ThreadEntry entry;
    entry.Id = CurrentThreadId();
    entry.CreatorAddress = creatorAddress;
    entry.CreatorThread = creatorThread;
    entry.Handle = pthread_self();
    registry.Entries.push_back(std::move(entry));
}

void UnregisterThread(ThreadId id) {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    std::erase_if(registry.Entries, [id](const ThreadEntry& entry) { return entry.Id == id; });
    DropEndedThreads(registry.Entries);
}

void NameThread(ThreadId id, std::string_view name) {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    if (ThreadEntry* entry = FindOrAdd(registry.Entries, Resolved(id))) {
        entry->Name = name;
    }
}

void SetThreadClassName(ThreadId id, std::string_view className) {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    if (ThreadEntry* entry = FindOrAdd(registry.Entries, Resolved(id))) {
        entry->ClassName = className;
    }
}

std::string GetThreadName(ThreadId id) {
    const std::optional<ThreadEntry> entry = EntryWithin50ms(Resolved(id));
    return entry ? entry->Name : std::string();
}

std::string ThreadDisplayText(ThreadId id) {
    const ThreadId resolved = Resolved(id);
    const std::optional<ThreadEntry> entry = EntryWithin50ms(resolved);
    const std::string idText = ThreadIdText(resolved);
    if (!entry) {
        return "thread " + idText;
    }
    if (!entry->Name.empty() && entry->Name != ReporterThreadName) {
        return entry->Name + " (" + idText + ")";
    }
    if (!entry->ClassName.empty()) {
        return "thread " + idText + " (" + entry->ClassName + ")";
    }
    return "thread " + idText;
}

ThreadId ThreadIdOfHandle(pthread_t handle) {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    const auto found = std::ranges::find_if(registry.Entries, [handle](const ThreadEntry& entry) {
        return entry.Handle && pthread_equal(*entry.Handle, handle);
    });
    return found == registry.Entries.end() ? 0 : found->Id;
}

std::vector<ThreadEntry> RegisteredThreads() {
    RegistryState& registry = Registry();
    std::lock_guard lock(registry.ListMutex);
    DropEndedThreads(registry.Entries);
    return registry.Entries;
}

std::mutex& WatchdogMutex() {
    return Registry().WatchdogMutex;
}

}  // namespace kestrix
