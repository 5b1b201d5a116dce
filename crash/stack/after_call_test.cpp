// \brief The after-call test on the 8 bytes in front of a value.
#include "crash/stack/after_call_test.h"

#include <array>

#include "crash/stack/guarded_read.h"

namespace kestrix {

bool PassesAfterCallTest(std::uintptr_t value) {
    constexpr std::size_t Window = 8;
    std::array<std::uint8_t, Window> bytes{};
    if (value < Window || !TryRead(value - Window, std::as_writable_bytes(std::span{bytes})))
        return false;
    // bytes[Window - n] is the byte at value - n.
    const auto at = [&](std::size_t n) { return bytes[Window - n]; };
    if (at(5) == 0xe8)
        return true;
    for (const std::size_t n : {2, 3, 4, 6, 7}) {
        const std::uint8_t modrm = at(n - 1);
        // The register field of the ModR/M byte selects the operation: 2 call, 3 far call.
        if (at(n) == 0xff && (modrm & 0x30) == 0x10)
            return true;
    }
    return false;
}

}  // namespace kestrix
