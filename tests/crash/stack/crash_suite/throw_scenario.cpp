// \brief The scenario of a throw caught three frames up: the raise-time stack captured at the
// throw still shows the frames the unwinding has discarded when the handler walks it.
#include <stdexcept>

#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"

namespace crash_suite {
namespace {

[[gnu::noinline]] void Throw() {
    if (CallsMade >= 0)
        throw std::runtime_error("thrown three frames below its handler");
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void ThrowOneDown() {
    Throw();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void ThrowTwoDown() {
    ThrowOneDown();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void CatchThreeUp() {
    try {
        ThrowTwoDown();
    } catch (const std::runtime_error&) {
        suite_probe::PrintRaiseTimeWalk();
    }
    CallsMade = CallsMade + 1;
}

}  // namespace

void ThrowCaughtThreeUp() {
    CatchThreeUp();
}

}  // namespace crash_suite
