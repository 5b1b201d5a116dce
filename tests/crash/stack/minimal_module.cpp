// A shared library built with minimal debug information whose full information is not beside it:
// the stack walker must name it in its list of such modules. Two frames of it lie on the stack
// while the callback runs.
#include <cstdint>

extern "C" {

[[gnu::noinline]] std::uintptr_t KestrixMinimalInner(std::uintptr_t (*callback)()) {
    const std::uintptr_t result = callback();
    asm volatile("" ::: "memory");
    return result + 1;
}

[[gnu::noinline]] std::uintptr_t KestrixMinimalOuter(std::uintptr_t (*callback)()) {
    const std::uintptr_t result = KestrixMinimalInner(callback);
    asm volatile("" ::: "memory");
    return result + 1;
}
}
