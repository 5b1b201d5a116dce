// \brief Raise-time stacks: at every throw the possible return addresses of the stack are kept
// with the thrown object, so that a failure shows where its exception was raised, not where it
// was caught. The record belongs to the object: a rethrow of the same object (`throw;`,
// std::rethrow_exception) keeps the stack of its first raise, a new object gets its own.
//
// The records are kept beside the objects in a table keyed by the object's address, rather than
// in extra space behind each object, which needs no change to the object's memory. The throw path
// forgets an object's record when the object is freed, and when a new object is allocated at its
// address (a free that bypassed the hook), so the table holds the objects alive: an exception
// kept for a later rethrow (an exception pointer, a future) keeps its stack however many others
// are raised meanwhile. Only beyond RaiseRecordLimit live objects does the oldest record go.
#pragma once

#include <memory>
#include <typeinfo>

#include "crash/core/thrown_object.h"
#include "crash/stack/prepare_stack_trace.h"

namespace kestrix {

inline constexpr std::size_t RaiseRecordLimit = 4096;

// Called by the throw path with its frame pointer and the lowest stack slot that belongs to the
// raising code, which holds the throw path's return address into it; neither throws.
void RecordRaise(void* object,
                 const std::type_info* type,
                 std::uintptr_t framePointer,
                 std::uintptr_t stackBottom) noexcept;
void ForgetRaise(void* object) noexcept;

// The stack captured when the object was first raised; none for an object not seen.
std::shared_ptr<const TDAPreStackItem> PreparedStackOf(const void* object);
// The return address into the code that first raised the object; 0 for an object not seen.
std::uintptr_t RaiseReturnAddressOf(const void* object);

// Failure handling marks an object it has handled, so that the hidden-exception path does not
// report it again.
void MarkRaiseHandled(const void* object);
bool RaiseWasHandled(const void* object);

// Told of every raise after its stack was kept (the hidden-exception path); none by default.
using RaiseObserver = void (*)(const ThrownObject& object);
RaiseObserver SetRaiseObserver(RaiseObserver observer);

}  // namespace kestrix
