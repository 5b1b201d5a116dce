// \brief The filters, on the valid items from the innermost outwards.
#include "crash/stack/output_filters.h"

#include <optional>
#include <string_view>

#include "crash/stack/candidate_test.h"

namespace kestrix {
namespace {

bool IsThrowRoutineName(std::string_view name) {
    return name == "__cxa_throw" || name == "__cxa_rethrow";
}

template <typename Predicate>
std::optional<std::size_t> InnermostValid(const TInternalStackItems& items,
                                          std::size_t below,
                                          Predicate predicate) {
    for (std::size_t x = below; x-- > 0;) {
        if (!items[x].Invalid && predicate(items[x]))
            return x;
    }
    return std::nullopt;
}

// Makes the item and every deeper one invalid, except the location when keepLocation is set.
void InvalidateFrom(TInternalStackItems& items, std::size_t from, bool keepLocation) {
    for (std::size_t x = from; x < items.size(); ++x) {
        if (!keepLocation || !items[x].Location)
            items[x].Invalid = true;
    }
}

}  // namespace

void FilterTerminateTrace(TInternalStackItems& items) {
    const auto thrower = InnermostValid(items, items.size(), [](const TInternalStackItem& item) {
        return IsThrowRoutineName(item.ProcedureName);
    });
    if (thrower)
        InvalidateFrom(items, *thrower, false);
}

void FilterRaiseTimeStack(TInternalStackItems& items) {
    const auto raise = InnermostValid(items, items.size(), [](const TInternalStackItem& item) {
        return IsRaiseRoutineName(item.ProcedureName);
    });
    if (!raise)
        return;
    InvalidateFrom(items, *raise, true);
    const auto named = InnermostValid(
        items, *raise, [](const TInternalStackItem& item) { return !item.ProcedureName.empty(); });
    if (named && items[*named].ProcedureName == "__restore_rt")
        items[*named].Invalid = true;
}

}  // namespace kestrix
