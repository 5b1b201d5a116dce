// \brief The raise-time stack of the last C++ throw in the scenario program, captured by its
// throw hook as the reporter's own hook does, and walked after the exception was caught.
#pragma once

#include <cstdint>

#include "crash/stack/prepare_stack_trace.h"

namespace suite_probe {

struct TRaiseTimeStack {
    std::uintptr_t ThrowAddress = 0;  // the return address of the throw's call
    kestrix::TDAPreStackItem Items;
};

const TRaiseTimeStack& LastRaiseTimeStack();

}  // namespace suite_probe
