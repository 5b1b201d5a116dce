// \brief CollectPossibleStackItems: the first phase of a stack trace. The creator address first,
// then the candidates from the top of the stack (the outermost calls) down to its bottom, or the
// raise-time candidates of a prepared stack, then the current address as the location, last.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

void CollectPossibleStackItems(TStackWalk& walk);

}  // namespace kestrix
