// \brief The alternate stack in memory of its own, with an inaccessible page below it so that an
// overflow of the handler's stack faults instead of overwriting other memory.
#include "crash/threads/alternate_signal_stack.h"

#include <signal.h>
#include <sys/auxv.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace kestrix {
namespace {

// Room for the fault handler, which walks nothing itself but records the context.
constexpr std::size_t MinimumStackSize = 64 * 1024;

std::size_t StackSize() {
    // SIGSTKSZ is no constant in current glibc; the kernel tells the minimum for this processor.
    const auto kernelMinimum = static_cast<std::size_t>(getauxval(AT_MINSIGSTKSZ));
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t size = std::max(MinimumStackSize, 4 * kernelMinimum);
    return (size + pageSize - 1) / pageSize * pageSize;
}

}  // namespace

AlternateSignalStack::AlternateSignalStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) != 0 || (current.ss_flags & SS_DISABLE) == 0) {
        return;
    }
    const auto pageSize = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t size = StackSize();
    void* mapping = mmap(nullptr, size + pageSize, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (mapping == MAP_FAILED) {
        return;
    }
    mprotect(mapping, pageSize, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(mapping) + pageSize;
    stack.ss_size = size;
    if (sigaltstack(&stack, nullptr) != 0) {
        munmap(mapping, size + pageSize);
        return;
    }
    m_mapping = mapping;
    m_mappingSize = size + pageSize;
}

AlternateSignalStack::~AlternateSignalStack() {
    if (m_mapping == nullptr) {
        return;
    }
    stack_t disable{};
    disable.ss_flags = SS_DISABLE;
    if (sigaltstack(&disable, nullptr) == 0) {
        munmap(m_mapping, m_mappingSize);
    }
}

}  // namespace kestrix
