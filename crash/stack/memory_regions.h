// \brief A snapshot of the process's mapped memory regions (from /proc/self/maps), for the
// walker's question whether an address lies in committed, readable memory and where its region
// starts. Taken once per trace.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrix {

struct TMemoryRegion {
    std::uintptr_t Start = 0;
    std::uintptr_t End = 0;  // exclusive
    bool Readable = false;
    bool Executable = false;
};

class TMemoryRegions {
  public:
    static TMemoryRegions Snapshot();

    // The readable region that contains the address; none for unmapped or inaccessible memory.
    std::optional<TMemoryRegion> Find(std::uintptr_t address) const;

    // Whether [start, end) lies in readable regions without a gap.
    bool CoversReadable(std::uintptr_t start, std::uintptr_t end) const;

  private:
    std::vector<TMemoryRegion> m_regions;  // sorted by start
};

}  // namespace kestrix
