// \brief Queries of a procedure analysis.
#include "crash/stack/function_info.h"

#include <algorithm>

namespace kestrix {

bool TFunctionInfo::HasUnknownJump() const {
    return std::any_of(UnknownTargets.begin(), UnknownTargets.end(),
                       [](const TUnknownTarget& target) { return !target.IsCall; });
}

const TCodeArea* TFunctionInfo::AreaHoldingReturnAddress(std::uintptr_t address) const {
    // The first area that starts at or above the address cannot hold it; the one before may.
    auto after = std::lower_bound(
        Areas.begin(), Areas.end(), address,
        [](const TCodeArea& area, std::uintptr_t value) { return area.First < value; });
    if (after == Areas.begin())
        return nullptr;
    const TCodeArea& area = *std::prev(after);
    return area.HoldsReturnAddress(address) ? &area : nullptr;
}

}  // namespace kestrix
