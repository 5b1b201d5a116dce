// \brief Raise-time stacks: at every throw the possible return addresses of the stack are kept
// with the thrown object, so that a failure shows where its exception was raised, not where it
// was caught. The record belongs to the object: a rethrow of the same object (`throw;`,
// std::rethrow_exception) keeps the stack of its first raise, a new object gets its own.
//
// The records are kept beside the objects in a table of the most recent raises, keyed by the
// object's address, rather than in extra space behind each object: the C++ runtime frees an
// exception object by a call that cannot be interposed reliably, and the table needs no change to
// the object's memory. An allocation of a new exception object drops a record left at its address.
#pragma once

#include <memory>
#include <typeinfo>

#include "crash/core/thrown_object.h"
#include "crash/stack/prepare_stack_trace.h"

namespace kestrix {

inline constexpr std::size_t RaiseRecordCount = 64;

// Called by the throw path with its frame pointer and the lowest stack slot that belongs to the
// raising code (the throw path's return address); neither throws.
void RecordRaise(void* object,
                 const std::type_info* type,
                 std::uintptr_t framePointer,
                 std::uintptr_t stackBottom) noexcept;
void ForgetRaise(void* object) noexcept;

// The stack captured when the object was first raised; none for an object not seen.
std::shared_ptr<const TDAPreStackItem> PreparedStackOf(const void* object);

// Failure handling marks an object it has handled, so that the hidden-exception path does not
// report it again.
void MarkRaiseHandled(const void* object);
bool RaiseWasHandled(const void* object);

// Told of every raise after its stack was kept (the hidden-exception path); none by default.
using RaiseObserver = void (*)(const ThrownObject& object);
RaiseObserver SetRaiseObserver(RaiseObserver observer);

}  // namespace kestrix
