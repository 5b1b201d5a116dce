// \brief The scenarios of the crash suite: each runs its calls down to a probe point, where the
// stack is walked and printed and where gdb takes its backtrace. Every scenario frame that counts
// lies in the namespace crash_suite.
#pragma once

namespace crash_suite {

// Written after the calls that must leave a frame, so that the optimiser can neither turn them
// into jumps nor fold the functions into one another.
extern volatile int CallsMade;

void DeepChain();
void Recursion();
void FunctionPointer();
void VirtualCall();
void TailCall();
void InlinedHelpers();
void QtSignalSlot();
void StaleReturnAddress();
void BrokenFramePointers();
void JumpIntoUnreadableMemory();
void WorkerThreadFault();
void ThrowCaughtThreeUp();

}  // namespace crash_suite
