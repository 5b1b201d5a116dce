// \brief Queries and removals on the walker's item links.
#include "crash/stack/stack_links.h"

#include <algorithm>
#include <initializer_list>

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
    // Links come in pairs, the caller's down link and the callee's up link: only the items the
    // dropped one links to hold links to it. Visiting those alone keeps the drop of a recursion's
    // hundred thousand items from going over all items each time.
    std::vector<std::size_t> linked;
    for (const TStackLinks* links : {&dropped.Down, &dropped.Up}) {
        for (const TStackLink& link : links->Links) {
            if (link.Other)
                linked.push_back(*link.Other);
        }
    }
    dropped.Down = {};
    dropped.Up = {};
    const auto linksToDropped = [index](const TStackLink& link) { return link.Other == index; };
    for (const std::size_t other : linked) {
        RemoveLinksIf(items[other].Down, linksToDropped);
        RemoveLinksIf(items[other].Up, linksToDropped);
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
