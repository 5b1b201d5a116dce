// \brief The two recursion removals of a stack trace over its valid items' addresses: the run of
// calls that repeats right before an identical run is removed, its items no longer anchors.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

// Before the deep checks: the removed items are dropped with all their links.
void RemoveRecursiveStackAreas(TStackWalk& walk);

// After the chain realisation: the removed items are only marked invalid.
void RemoveRecursiveAreas(TStackWalk& walk);

}  // namespace kestrix
