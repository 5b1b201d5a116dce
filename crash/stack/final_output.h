// \brief FillFinalOutput: the sixth phase of a stack trace. Every valid item, from the innermost
// outwards, gets its code address, module, unit, procedure and line; then the filters leave out
// the runtime's own frames of a terminate trace and of a raise-time stack.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

void FillFinalOutput(TStackWalk& walk);

}  // namespace kestrix
