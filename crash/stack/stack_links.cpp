// \brief Queries and removals on the walker's item links.
#include "crash/stack/stack_links.h"

#include <algorithm>

namespace kestrix {
namespace {

template <typename Predicate>
void RemoveLinksIf(TStackLinks& links, Predicate predicate) {
    std::erase_if(links.Links, predicate);
    links.Best.reset();
}

}  // namespace

const TStackLink* FirstApprovedUpLink(const TInternalStackItem& item) {
    const auto found =
        std::find_if(item.Up.Links.begin(), item.Up.Links.end(),
                     [](const TStackLink& link) { return IsApproved(link.Procedure); });
    return found == item.Up.Links.end() ? nullptr : &*found;
}

void DropItem(TInternalStackItems& items, std::size_t index) {
    TInternalStackItem& dropped = items[index];
    dropped.Invalid = true;
    dropped.Down = {};
    dropped.Up = {};
    for (TInternalStackItem& item : items) {
        const auto linksToDropped = [index](const TStackLink& link) { return link.Other == index; };
        RemoveLinksIf(item.Down, linksToDropped);
        RemoveLinksIf(item.Up, linksToDropped);
    }
}

void RemoveLinksNaming(TInternalStackItems& items, const TProcedure* procedure) {
    const auto naming = [procedure](const TStackLink& link) { return link.Procedure == procedure; };
    for (TInternalStackItem& item : items) {
        RemoveLinksIf(item.Down, naming);
        RemoveLinksIf(item.Up, naming);
    }
}

}  // namespace kestrix
