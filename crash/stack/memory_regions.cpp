// \brief Reading /proc/self/maps: "start-end perms offset dev inode path" per line.
#include "crash/stack/memory_regions.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <string>

namespace kestrix {

TMemoryRegions TMemoryRegions::Snapshot() {
    TMemoryRegions regions;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::uintmax_t start = 0;
        std::uintmax_t end = 0;
        char permissions[5] = {};
        if (std::sscanf(line.c_str(), "%jx-%jx %4s", &start, &end, permissions) != 3)
            continue;
        regions.m_regions.push_back({static_cast<std::uintptr_t>(start),
                                     static_cast<std::uintptr_t>(end), permissions[0] == 'r',
                                     permissions[2] == 'x'});
    }
    // The kernel lists them in order already; sorting keeps the lookup right regardless.
    std::sort(regions.m_regions.begin(), regions.m_regions.end(),
              [](const TMemoryRegion& a, const TMemoryRegion& b) { return a.Start < b.Start; });
    return regions;
}

std::optional<TMemoryRegion> TMemoryRegions::Find(std::uintptr_t address) const {
    auto after = std::upper_bound(
        m_regions.begin(), m_regions.end(), address,
        [](std::uintptr_t value, const TMemoryRegion& region) { return value < region.Start; });
    if (after == m_regions.begin())
        return std::nullopt;
    const TMemoryRegion& region = *std::prev(after);
    if (address >= region.End || !region.Readable)
        return std::nullopt;
    return region;
}

bool TMemoryRegions::CoversReadable(std::uintptr_t start, std::uintptr_t end) const {
    for (std::uintptr_t position = start; position < end;) {
        const auto region = Find(position);
        if (!region)
            return false;
        position = region->End;
    }
    return true;
}

}  // namespace kestrix
