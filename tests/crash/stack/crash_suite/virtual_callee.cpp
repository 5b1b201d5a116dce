// \brief The implementation of the virtual call scenario's callee.
#include "tests/crash/stack/crash_suite/virtual_callee.h"

#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"

namespace crash_suite {

namespace {

class ProbingCallee final : public VirtualCallee {
  public:
    void Run() const override {
        suite_probe::ProbePoint();
        CallsMade = CallsMade + 1;
    }
};

}  // namespace

const VirtualCallee& MakeVirtualCallee() {
    static const ProbingCallee callee;
    return callee;
}

}  // namespace crash_suite
