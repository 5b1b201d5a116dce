// \brief The guard around every thread procedure the program starts (source esThreadFrame): the
// new thread is entered in the registry with its creator, gets an alternate signal stack, and a
// failure escaping its procedure goes to the installed handler.
#pragma once

#include <pthread.h>

namespace kestrix {

// Called inside the guard's catch block: the failure is std::current_exception(). When it
// returns, the thread ends with the result -1.
using ThreadFrameHandler = void (*)();

// Installs the handler and returns the one it replaces. Without a handler a failure escaping a
// thread procedure ends the program through std::terminate, as it would without the guard.
ThreadFrameHandler SetThreadFrameHandler(ThreadFrameHandler handler);

using ThreadProcedure = void* (*)(void*);
using ThreadCreateFunction = int (*)(pthread_t*, const pthread_attr_t*, ThreadProcedure, void*);

// Starts a thread through the system's own creation function with the procedure in the guard.
int CreateGuardedThread(ThreadCreateFunction systemCreate,
                        pthread_t* thread,
                        const pthread_attr_t* attributes,
                        ThreadProcedure procedure,
                        void* argument) noexcept;

}  // namespace kestrix
