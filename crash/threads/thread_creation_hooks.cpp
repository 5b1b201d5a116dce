// \brief The system's thread creation and naming calls, interposed in the executable: every thread
// the program, the C++ library or Qt starts runs in the reporter's thread guard, and every name a
// thread is given is recognised for the thread registry. The definitions here win over the C
// library's for the whole process because the executable exports them; each forwards to the C
// library's own function.
#include <dlfcn.h>
#include <pthread.h>
#include <sys/prctl.h>

#include <cstdarg>

#include "crash/threads/thread_frame.h"
#include "crash/threads/thread_naming.h"

namespace {

template <typename Function>
Function SystemFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int pthread_create(pthread_t* thread,
                                                          const pthread_attr_t* attributes,
                                                          void* (*procedure)(void*),
                                                          void* argument) noexcept {
    static const auto systemCreate =
        SystemFunction<kestrix::ThreadCreateFunction>("pthread_create");
    return kestrix::CreateGuardedThread(systemCreate, thread, attributes, procedure, argument);
}

__attribute__((visibility("default"))) int pthread_setname_np(pthread_t thread,
                                                              const char* name) noexcept {
    using SetName = int (*)(pthread_t, const char*);
    static const auto systemSetName = SystemFunction<SetName>("pthread_setname_np");
    const int result = systemSetName(thread, name);
    if (result == 0) {
        kestrix::RecogniseThreadName(thread, name);
    }
    return result;
}

// prctl takes up to four further arguments of a word each; all are passed on.
__attribute__((visibility("default"))) int prctl(int option, ...) noexcept {
    using Prctl = int (*)(int, ...);
    static const auto systemPrctl = SystemFunction<Prctl>("prctl");
    va_list arguments;
    va_start(arguments, option);
    const auto second = va_arg(arguments, unsigned long);
    const auto third = va_arg(arguments, unsigned long);
    const auto fourth = va_arg(arguments, unsigned long);
    const auto fifth = va_arg(arguments, unsigned long);
    va_end(arguments);
    const int result = systemPrctl(option, second, third, fourth, fifth);
    if (result == 0 && option == PR_SET_NAME) {
        kestrix::RecogniseCurrentThreadName(reinterpret_cast<const char*>(second));
    }
    return result;
}

}  // extern "C"
