// \brief The scenarios of operating-system faults: a call into memory that cannot be read, and a
// write through a null pointer in a worker thread. The fault probe walks the interrupted stack
// and ends the program.
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/crash/stack/crash_suite/probe_point.h"
#include "tests/crash/stack/crash_suite/scenarios.h"

namespace crash_suite {
namespace {

using Procedure = void (*)();

[[gnu::noinline]] void CallInto(Procedure target) {
    target();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void CallIntoUnreadablePage() {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (page == MAP_FAILED) {
        std::perror("mmap");
        std::exit(1);
    }
    CallInto(reinterpret_cast<Procedure>(static_cast<char*>(page) + 0x40));
    CallsMade = CallsMade + 1;
}

int* volatile NullTarget = nullptr;

[[gnu::noinline]] void WriteThroughNull() {
    *NullTarget = CallsMade;
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void WorkerStep() {
    WriteThroughNull();
    CallsMade = CallsMade + 1;
}

[[gnu::noinline]] void WorkerBody() {
    WorkerStep();
    CallsMade = CallsMade + 1;
}

}  // namespace

void JumpIntoUnreadableMemory() {
    suite_probe::InstallFaultProbe();
    CallIntoUnreadablePage();
}

void WorkerThreadFault() {
    suite_probe::InstallFaultProbe();
    std::thread worker(WorkerBody);
    worker.join();
}

}  // namespace crash_suite
