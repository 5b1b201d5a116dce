// \brief The name pool and the ordering of a module's debug-information tables.
#include "crash/debuginfo/map_file_content.h"

#include <algorithm>

namespace kestrix {

PooledName MapFileContent::AddName(std::string_view name) {
    const PooledName pooled{std::uint32_t(NamePool.size()), std::uint32_t(name.size())};
    NamePool.append(name);
    return pooled;
}

namespace {

// Tables written by the build tool are sorted already; loading only checks that.
template <typename Table, typename Projection>
void SortByAddress(Table& table, Projection projection) {
    if (!std::ranges::is_sorted(table, {}, projection)) {
        std::ranges::stable_sort(table, {}, projection);
    }
}

}  // namespace

void MapFileContent::Sort() {
    SortByAddress(Segments, &MapSegment::Start);
    SortByAddress(Publics, &MapPublic::Address);
    SortByAddress(Lines, &MapLine::Address);
    const auto sameAddress = [](const MapLine& a, const MapLine& b) {
        return a.Address == b.Address;
    };
    if (std::ranges::adjacent_find(Lines, sameAddress) == Lines.end()) {
        return;
    }
    // unique keeps the first of a run; keep the last instead by walking from the back.
    std::ranges::reverse(Lines);
    Lines.erase(std::unique(Lines.begin(), Lines.end(), sameAddress), Lines.end());
    std::ranges::reverse(Lines);
}

}  // namespace kestrix
