// \brief InDeepChecks: the third phase of a stack trace. Every valid item, from the outermost to
// the innermost (the creator left out), is checked against the procedure that holds it, and its
// call is linked to the deeper items that the called procedure verifies: the call relations
// between the items that the chain realisation then scores.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

void InDeepChecks(TStackWalk& walk);

}  // namespace kestrix
