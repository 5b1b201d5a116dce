// \brief The name pool and the ordering of a module's debug-information tables.
#include "crash/debuginfo/map_file_content.h"

#include <algorithm>

namespace kestrix {

PooledName MapFileContent::AddName(std::string_view name) {
    const PooledName pooled{std::uint32_t(NamePool.size()), std::uint32_t(name.size())};
    NamePool.append(name);
    return pooled;
}

void MapFileContent::Sort() {
    std::ranges::stable_sort(Segments, {}, &MapSegment::Start);
    std::ranges::stable_sort(Publics, {}, &MapPublic::Address);
    std::ranges::stable_sort(Lines, {}, &MapLine::Address);
    const auto sameAddress = [](const MapLine& a, const MapLine& b) {
        return a.Address == b.Address;
    };
    // unique keeps the first of a run; keep the last instead by walking from the back.
    std::ranges::reverse(Lines);
    Lines.erase(std::unique(Lines.begin(), Lines.end(), sameAddress), Lines.end());
    std::ranges::reverse(Lines);
}

}  // namespace kestrix
