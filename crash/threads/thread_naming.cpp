// \brief Recognised thread names go into the registry.
#include "crash/threads/thread_naming.h"

#include <atomic>

#include "crash/threads/thread_registry.h"

namespace kestrix {
namespace {

std::atomic<SelfNamingObserver> g_selfNamingObserver{nullptr};

}  // namespace

SelfNamingObserver SetSelfNamingObserver(SelfNamingObserver observer) {
    return g_selfNamingObserver.exchange(observer);
}

void RecogniseCurrentThreadName(const char* name) {
    NameThread(0, name);
    if (const SelfNamingObserver observer = g_selfNamingObserver.load()) {
        observer();
    }
}

void RecogniseThreadName(pthread_t thread, const char* name) {
    if (pthread_equal(thread, pthread_self())) {
        RecogniseCurrentThreadName(name);
    } else if (const ThreadId id = ThreadIdOfHandle(thread)) {
        NameThread(id, name);
    }
}

}  // namespace kestrix
