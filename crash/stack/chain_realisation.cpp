// \brief Realising the stretches between anchors along their best links.
#include "crash/stack/chain_realisation.h"

#include "crash/stack/chain_scoring.h"

namespace kestrix {
namespace {

// Makes valid again every item reached from `from` along the best links towards `to` (none: the
// outside), before `to`; stops at an item without a best link.
void FollowBestLinks(TInternalStackItems& items,
                     std::size_t from,
                     std::optional<std::size_t> to,
                     bool deeper) {
    std::size_t current = from;
    for (;;) {
        const TStackLinks& links = deeper ? items[current].Down : items[current].Up;
        if (!links.Best)
            return;
        const std::size_t next = *links.Links[*links.Best].Other;
        if (next == to)
            return;
        items[next].Invalid = false;
        current = next;
    }
}

void RealiseStretch(TInternalStackItems& items,
                    std::optional<std::size_t> lower,
                    std::size_t upper) {
    const std::size_t first = lower ? *lower + 1 : 0;
    if (first >= upper)
        return;
    const std::uint64_t forward = lower ? BestPathValue(items, *lower, upper, true) : 0;
    const std::uint64_t backward =
        (forward & ChainReachesEnd) != 0 ? 0 : BestPathValue(items, upper, lower, true);
    for (std::size_t i = first; i < upper; ++i)
        items[i].Invalid = true;
    if (forward > backward)
        FollowBestLinks(items, *lower, upper, true);
    else
        FollowBestLinks(items, upper, lower, false);
}

}  // namespace

void RealizeOptimalLinkChains(TStackWalk& walk) {
    TInternalStackItems& items = walk.Items;
    if (items.empty())
        return;
    const std::size_t count = items.size();
    std::size_t upper = count - 1;
    for (std::size_t anchor = count - 1; anchor-- > 0;) {
        walk.CheckAbort();
        walk.Progress(650 + static_cast<int>(350 * (count - 1 - anchor) / count));
        if (!items[anchor].Anchor)
            continue;
        RealiseStretch(items, anchor, upper);
        upper = anchor;
    }
    RealiseStretch(items, std::nullopt, upper);
}

}  // namespace kestrix
