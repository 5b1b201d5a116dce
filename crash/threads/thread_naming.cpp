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

// The naming calls cannot fail because of the registry: a name it cannot keep is left out.
void RecogniseCurrentThreadName(const char* name) noexcept {
    try {
        NameThread(0, name);
        if (const SelfNamingObserver observer = g_selfNamingObserver.load()) {
            observer();
        }
    } catch (...) {
    }
}

void RecogniseThreadName(pthread_t thread, const char* name) noexcept {
    if (pthread_equal(thread, pthread_self())) {
        RecogniseCurrentThreadName(name);
        return;
    }
    try {
        if (const ThreadId id = ThreadIdOfHandle(thread)) {
            NameThread(id, name);
        }
    } catch (...) {
    }
}

}  // namespace kestrix
