// \brief ComposeResult: the last phase of a stack trace. The listed items become the call-stack
// lines of the report in aligned columns (address, offset from the procedure start, module, unit,
// line numbers, procedure), the structured list, the call-stack checksums, and the procedure the
// report's disassembly shows.
//
// An item is listed when it is valid and it is the location or the creator, or it has a procedure
// name (with HideUglyItems also a line number: the line itself, so that an item on the first line
// of its procedure keeps counting as one with a line); an item with the code address of the one
// listed before it is not listed again.
#pragma once

#include "crash/stack/stack_walk.h"

namespace kestrix {

void ComposeResult(TStackWalk& walk);

}  // namespace kestrix
