// \brief The guard around a part of the report.
#include "crash/report/guarded_part.h"

#include <cstdint>

#include "crash/stack/stack_addr_to_str.h"

namespace kestrix {

// Not inlined, so that its return address lies in the code that asked for the part.
[[gnu::noinline]] std::string GuardedPartText(std::string_view partName,
                                              const std::function<std::string()>& produce,
                                              bool showRelAddrs,
                                              bool showRelLines) {
    const auto caller = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0)) - 1;
    try {
        return produce();
    } catch (...) {
        return InternalErrorAt(partName, caller, showRelAddrs, showRelLines);
    }
}

}  // namespace kestrix
