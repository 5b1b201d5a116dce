// \brief The reserve's regions: the reserved ones are mapped without swap accounting, the
// committed ones are charged to the process first and then made inaccessible.
#include "crash/core/emergency_reserve.h"

#include <sys/mman.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <mutex>

namespace kestrix {
namespace {

constexpr std::size_t ReservedSize = 4u << 20;
constexpr std::size_t CommittedSize = 512u << 10;
constexpr std::size_t RegionsOfEach = 4;

struct Region {
    std::atomic<void*> Address{nullptr};
    std::size_t Size = 0;
};

std::array<Region, 2 * RegionsOfEach> g_regions;
std::mutex g_takeGuard;

void* MapRegion(std::size_t size, bool committed) {
    const int protection = committed ? PROT_READ | PROT_WRITE : PROT_NONE;
    const int flags = MAP_PRIVATE | MAP_ANONYMOUS | (committed ? 0 : MAP_NORESERVE);
    void* address = mmap(nullptr, size, protection, flags, -1, 0);
    if (address == MAP_FAILED) {
        return nullptr;
    }
    if (committed) {
        mprotect(address, size, PROT_NONE);
    }
    return address;
}

}  // namespace

void TakeEmergencyReserve() noexcept {
    const std::lock_guard lock(g_takeGuard);
    for (std::size_t i = 0; i < g_regions.size(); ++i) {
        Region& region = g_regions[i];
        if (region.Address.load() != nullptr) {
            continue;
        }
        const bool committed = i >= RegionsOfEach;
        region.Size = committed ? CommittedSize : ReservedSize;
        region.Address = MapRegion(region.Size, committed);
    }
}

void ReleaseEmergencyReserve() noexcept {
    for (Region& region : g_regions) {
        if (void* address = region.Address.exchange(nullptr)) {
            munmap(address, region.Size);
        }
    }
}

int EmergencyReserveRegions() noexcept {
    int held = 0;
    for (const Region& region : g_regions) {
        held += region.Address.load() != nullptr ? 1 : 0;
    }
    return held;
}

}  // namespace kestrix
