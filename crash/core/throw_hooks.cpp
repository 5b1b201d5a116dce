// \brief The C++ runtime's throw path, interposed in the executable: every throw of the program,
// the C++ library and Qt keeps its raise-time stack first, and every exception object that is
// freed, or newly allocated where a record was left, drops the record at its address. The
// executable exports all three, so they win over the C++ library's for the whole process (the
// library calls its own through its linkage table); each forwards to the library's function. This
// file holds no throw expression and does not see the ABI's declarations of these functions.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <typeinfo>

#include "crash/core/raise_time_stacks.h"

namespace {

template <typename Function>
Function RuntimeFunction(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

// The type information is passed as the compiler declares the function itself, untyped.
__attribute__((visibility("default"), noreturn)) void __cxa_throw(void* object,
                                                                  void* type,
                                                                  void (*destructor)(void*)) {
    using Throw = void (*)(void*, void*, void (*)(void*));
    static const auto runtimeThrow = RuntimeFunction<Throw>("__cxa_throw");
    // Above this function's saved frame pointer lies its return address into the raising code.
    const auto frame = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    kestrix::RecordRaise(object, static_cast<const std::type_info*>(type), frame,
                         frame + sizeof(void*));
    runtimeThrow(object, type, destructor);
    __builtin_unreachable();
}

__attribute__((visibility("default"))) void* __cxa_allocate_exception(std::size_t size) noexcept {
    using Allocate = void* (*)(std::size_t);
    static const auto runtimeAllocate = RuntimeFunction<Allocate>("__cxa_allocate_exception");
    void* object = runtimeAllocate(size);
    kestrix::ForgetRaise(object);
    return object;
}

__attribute__((visibility("default"))) void __cxa_free_exception(void* object) noexcept {
    using Free = void (*)(void*);
    static const auto runtimeFree = RuntimeFunction<Free>("__cxa_free_exception");
    kestrix::ForgetRaise(object);
    runtimeFree(object);
}

}  // extern "C"
