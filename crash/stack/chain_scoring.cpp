// \brief Scoring the links of the best path, recursively, each link once.
#include "crash/stack/chain_scoring.h"

namespace kestrix {
namespace {

bool LineBefore(const TInternalStackItem& item) {
    return item.Module->MapFile->FindLine(item.Address - 1).Line > 0;
}

// The weight exponent of the link from item to other.
int LinkExponent(const TInternalStackItem& item,
                 const TInternalStackItem& other,
                 const TStackLink& link,
                 std::uint64_t score,
                 bool direct) {
    int exponent = 0;
    if (link.Procedure != nullptr) {
        exponent = 14;
        if (direct || (score & ChainAllProcedures) != 0)
            exponent += 14;
        if (link.Procedure->Approved)
            exponent += 14;
    }
    if (item.Module != nullptr && other.Module != nullptr && item.Module->MapFile) {
        exponent += 3;
        if (LineBefore(item))
            exponent += 3;
        if (other.Module->MapFile && LineBefore(other))
            exponent += 3;
    }
    return exponent;
}

std::uint64_t LinkScore(TInternalStackItems& items,
                        std::size_t from,
                        const TStackLink& link,
                        std::optional<std::size_t> to,
                        bool direct) {
    const std::size_t other = *link.Other;
    std::uint64_t score = 0;
    if (other == to)
        score = link.Procedure != nullptr ? ReachedWithProcedure : ReachedWithoutProcedure;
    else
        score = BestPathValue(items, other, to, direct && link.Procedure != nullptr);
    if (link.Procedure == nullptr)
        score &= ~ChainAllProcedures;
    return score +
           (std::uint64_t{1} << LinkExponent(items[from], items[other], link, score, direct));
}

}  // namespace

std::uint64_t BestPathValue(TInternalStackItems& items,
                            std::size_t from,
                            std::optional<std::size_t> to,
                            bool direct) {
    const bool deeper = to && *to > from;
    TStackLinks& links = deeper ? items[from].Down : items[from].Up;
    std::uint64_t best = ChainStartValue;
    links.Best.reset();
    for (std::size_t i = 0; i < links.Links.size(); ++i) {
        TStackLink& link = links.Links[i];
        if (!link.Other || (to && (deeper ? *link.Other > *to : *link.Other < *to)))
            continue;
        if (link.Score == 0)
            link.Score = LinkScore(items, from, link, to, direct);
        if (link.Score > best) {
            best = link.Score;
            links.Best = i;
        }
    }
    return best;
}

}  // namespace kestrix
