// \brief Guarded reads through process_vm_readv on the own process, or a /proc/self/mem
// descriptor where the kernel refuses the cross-memory read (seccomp filters, old kernels).
#include "crash/stack/guarded_read.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>

namespace kestrix {
namespace {

enum class ReadWay { Unknown, CrossMemory, MemFile, None };

// The base page size of x86-64; a constant, since sysconf is not safe in a signal handler.
constexpr std::uintptr_t PageSize = 4096;

std::atomic<ReadWay> g_way{ReadWay::Unknown};
std::atomic<int> g_memFile{-1};

bool ReadCrossMemory(std::uintptr_t address, std::span<std::byte> buffer) {
    iovec local{buffer.data(), buffer.size()};
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the address is the one to read
    iovec remote{reinterpret_cast<void*>(address), buffer.size()};
    // getpid on every read keeps a forked child reading its own memory.
    const ssize_t read = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    return read == static_cast<ssize_t>(buffer.size());
}

bool ReadMemFile(std::uintptr_t address, std::span<std::byte> buffer) {
    const int file = g_memFile.load(std::memory_order_acquire);
    if (file < 0 || address > static_cast<std::uintptr_t>(INT64_MAX))
        return false;
    const ssize_t read = pread(file, buffer.data(), buffer.size(), static_cast<off_t>(address));
    return read == static_cast<ssize_t>(buffer.size());
}

}  // namespace

bool StartTryRead() {
    if (g_way.load(std::memory_order_acquire) != ReadWay::Unknown)
        return g_way.load(std::memory_order_acquire) != ReadWay::None;
    std::byte probe{};
    static const std::byte known{0x5a};
    if (ReadCrossMemory(reinterpret_cast<std::uintptr_t>(&known), std::span{&probe, 1})) {
        g_way.store(ReadWay::CrossMemory, std::memory_order_release);
        return true;
    }
    const int file = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    int expected = -1;
    if (file >= 0 && !g_memFile.compare_exchange_strong(expected, file))
        close(file);
    const bool memFileWorks =
        g_memFile.load() >= 0 &&
        ReadMemFile(reinterpret_cast<std::uintptr_t>(&known), std::span{&probe, 1});
    g_way.store(memFileWorks ? ReadWay::MemFile : ReadWay::None, std::memory_order_release);
    return memFileWorks;
}

bool TryRead(std::uintptr_t address, std::span<std::byte> buffer) {
    if (buffer.empty())
        return true;
    if (address + buffer.size() < address)
        return false;
    switch (g_way.load(std::memory_order_acquire)) {
        case ReadWay::CrossMemory:
            return ReadCrossMemory(address, buffer);
        case ReadWay::MemFile:
            return ReadMemFile(address, buffer);
        case ReadWay::Unknown:
        case ReadWay::None:
            break;
    }
    return false;
}

std::size_t TryReadPrefix(std::uintptr_t address, std::span<std::byte> buffer) {
    // A read fails as a whole when any page of it is unreadable: read up to the page end first.
    const std::size_t toPageEnd = static_cast<std::size_t>(PageSize - address % PageSize);
    const std::size_t first = std::min(toPageEnd, buffer.size());
    if (!TryRead(address, buffer.first(first)))
        return 0;
    if (first == buffer.size() || !TryRead(address + first, buffer.subspan(first)))
        return first;
    return buffer.size();
}

}  // namespace kestrix
