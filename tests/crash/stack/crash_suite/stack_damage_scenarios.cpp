// \brief The scenarios of a damaged stack: return addresses left behind in a dead stack area by
// calls that have returned, and a frame-pointer chain that leads nowhere.
#include <cstdint>

#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"

namespace crash_suite {
namespace {

[[gnu::noinline]] void LeaveTrailEnd() {
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void LeaveTrailMiddle() {
    LeaveTrailEnd();
    CallsMade = CallsMade + 1;
}

// Calls two levels down and returns: their return addresses stay in the stack below it.
[[gnu::noinline]] void LeaveTrail() {
    LeaveTrailMiddle();
    CallsMade = CallsMade + 1;
}

// Its frame starts where LeaveTrail's did and reserves a large area that it never writes, so the
// trail's return addresses lie inside it when it calls the probe point.
[[gnu::noinline]] void ProbeOverDeadArea() {
    char unwritten[2048];
    // Its address escapes, so the area is reserved, but nothing is written to it.
    asm volatile("" : : "r"(unwritten) : "memory");
    suite_probe::ProbePoint();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void LeaveTrailThenProbe() {
    LeaveTrail();
    ProbeOverDeadArea();
    CallsMade = CallsMade + 1;
}

// A made-up frame: the first word looks like a saved frame pointer, the second holds a count, not
// a return address.
struct FakeFrame {
    std::uintptr_t Next = 0;
    std::uintptr_t Count = 0;
};

[[gnu::noinline]] void ProbeWithBrokenChain(const FakeFrame& outer) {
    FakeFrame inner{reinterpret_cast<std::uintptr_t>(&outer), 0x4d2};
    suite_probe::ProbePointWithFramePointer(reinterpret_cast<std::uintptr_t>(&inner));
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void BuildBrokenChain() {
    // Ends the chain: its next value is not higher than itself.
    const FakeFrame outer{0x10, 0x2a};
    ProbeWithBrokenChain(outer);
    CallsMade = CallsMade + 1;
}

}  // namespace

void StaleReturnAddress() {
    LeaveTrailThenProbe();
}

void BrokenFramePointers() {
    BuildBrokenChain();
}

}  // namespace crash_suite
