// \brief The scenario program of the crash suite: runs the scenario its argument names.
#include <cstdio>
#include <cstring>

#include "tests/crash/stack/crash_suite/scenarios.h"

namespace {

struct Scenario {
    const char* name;
    void (*run)();
};

constexpr Scenario Scenarios[] = {
    {"deep_chain", crash_suite::DeepChain},
    {"recursion", crash_suite::Recursion},
    {"function_pointer", crash_suite::FunctionPointer},
    {"virtual_call", crash_suite::VirtualCall},
    {"tail_call", crash_suite::TailCall},
    {"inlined_helpers", crash_suite::InlinedHelpers},
    {"qt_signal_slot", crash_suite::QtSignalSlot},
    {"stale_return_address", crash_suite::StaleReturnAddress},
    {"broken_frame_pointers", crash_suite::BrokenFramePointers},
    {"jump_into_unreadable_memory", crash_suite::JumpIntoUnreadableMemory},
    {"worker_thread_fault", crash_suite::WorkerThreadFault},
    {"throw_caught_three_up", crash_suite::ThrowCaughtThreeUp},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        for (const Scenario& scenario : Scenarios) {
            if (std::strcmp(argv[1], scenario.name) == 0) {
                scenario.run();
                return 0;
            }
        }
    }
    std::fprintf(stderr, "usage: %s SCENARIO\nscenarios:", argv[0]);
    for (const Scenario& scenario : Scenarios)
        std::fprintf(stderr, " %s", scenario.name);
    std::fprintf(stderr, "\n");
    return 2;
}
