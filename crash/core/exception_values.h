// \brief The values that describe one failure when it is handed to failure handling; what is not
// given is filled in (the current exception, the current stack and frame pointers, the current
// thread).
#pragma once

#include <sys/ucontext.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "crash/core/exception_enums.h"
#include "crash/core/thrown_object.h"
#include "crash/settings/module_info.h"
#include "crash/stack/prepare_stack_trace.h"
#include "crash/threads/thread_ids.h"

namespace kestrix {

// The registers of the failing moment as the kernel saves them for a signal.
struct CpuContext {
    gregset_t Registers{};
};

struct ExceptionValues {
    TExceptType Type = etNormal;
    // The exception; keeps the object alive while the failure is handled.
    std::exception_ptr Exception{};
    // The object itself when there is no exception pointer for it yet (a throw in progress).
    ThrownObject Object{};
    std::uintptr_t Address = 0;
    bool CanContinue = true;
    std::uintptr_t StackPointer = 0;
    std::uintptr_t FramePointer = 0;
    std::optional<CpuContext> Context{};
    TExceptSource Source = esManual;
    const void* RelatedObject = nullptr;
    ModuleHandle Module = 0;
    std::shared_ptr<const TDAPreStackItem> PreparedStack{};
    // Filled in by failure handling: the failing thread and the top of its stack.
    ThreadId CrashedThread = 0;
    std::uintptr_t StackTop = 0;
};

}  // namespace kestrix
