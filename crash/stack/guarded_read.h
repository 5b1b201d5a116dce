// \brief Guarded reads of this process's own memory: an unreadable address makes a read fail
// instead of raising a fault. The stack walker and the stack dump read code and stack memory only
// through these, so that they survive any stack content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrix {

// Makes the guarded reads ready: finds out once whether the kernel's cross-memory read works for
// this process and otherwise opens /proc/self/mem. Call it before the first read outside a signal
// handler; it is cheap to call again. False when neither way works: every read then fails.
bool StartTryRead();

// Reads the whole of buffer from address. Async-signal-safe (a system call, no allocation), so it
// may run in a signal handler once StartTryRead has been called.
bool TryRead(std::uintptr_t address, std::span<std::byte> buffer);

template <typename T>
std::optional<T> TryReadValue(std::uintptr_t address) {
    T value{};
    if (!TryRead(address, std::as_writable_bytes(std::span{&value, 1})))
        return std::nullopt;
    return value;
}

// How many bytes from address on can be read, up to buffer's size; reads them into buffer. Used
// for code that may end at the last readable page.
std::size_t TryReadPrefix(std::uintptr_t address, std::span<std::byte> buffer);

}  // namespace kestrix
