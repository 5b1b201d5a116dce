// \brief The deep check of an item and the linking of its call.
#include "crash/stack/deep_check.h"

#include <algorithm>

namespace kestrix {
namespace {

struct TCallee {
    TCallSite Site;
    TProcedure* Procedure = nullptr;
};

// Verifies item Y as a return address (or location) inside the called procedure. A procedure
// that ends in a tail call leaves the stack to the procedure it jumps to, so Y may lie in that
// one too.
std::optional<TCallee> VerifyCallee(TStackWalk& walk,
                                    TProcedure& callee,
                                    const TInternalStackItem& item) {
    if (auto site = walk.Candidates.Verify(callee, item.Value, item.Location))
        return TCallee{*site, &callee};
    for (const TFunctionCall& call : callee.Info.Calls) {
        if (call.IsCall)
            continue;
        TProcedure& jumpedTo = walk.Procedures.ProcedureAt(call.Target);
        if (jumpedTo.Invalid)
            continue;
        if (auto site = walk.Candidates.Verify(jumpedTo, item.Value, item.Location))
            return TCallee{*site, &jumpedTo};
    }
    return std::nullopt;
}

bool HasApprovedUpLinkElsewhere(const TInternalStackItem& item, std::uintptr_t codeAddress) {
    return std::any_of(item.Up.Links.begin(), item.Up.Links.end(), [&](const TStackLink& link) {
        return IsApproved(link.Procedure) && link.CodeAddress != codeAddress;
    });
}

// Links X's call (code address C) to the deeper items up to the first anchor: with a callee,
// those it verifies; without one (an unknown target), every one.
void LinkDeeperItems(TStackWalk& walk,
                     std::size_t x,
                     std::uintptr_t codeAddress,
                     TProcedure* callee,
                     bool approving) {
    TInternalStackItems& items = walk.Items;
    for (std::size_t y = x + 1; y < items.size(); ++y) {
        if (items[y].Invalid)
            continue;
        std::optional<TCallee> verified;
        if (callee != nullptr) {
            verified = VerifyCallee(walk, *callee, items[y]);
            if (verified && !approving &&
                HasApprovedUpLinkElsewhere(items[y], verified->Site.CodeAddress))
                verified.reset();
        }
        if (callee == nullptr || verified) {
            TStackLink up{x, std::nullopt, false, 0, nullptr, 0};
            if (verified)
                up = {x,
                      verified->Site.CodeAddress,
                      verified->Site.TargetKnown,
                      verified->Site.Target,
                      verified->Procedure,
                      0};
            items[y].Up.Links.push_back(up);
            items[x].Down.Links.push_back({y, codeAddress, callee != nullptr,
                                           callee != nullptr ? callee->Entry : 0, up.Procedure, 0});
        }
        if (items[y].Anchor)
            break;
    }
}

void LinkUnknownTarget(TStackWalk& walk, std::size_t x, std::uintptr_t codeAddress) {
    const auto& down = walk.Items[x].Down.Links;
    if (std::any_of(down.begin(), down.end(),
                    [](const TStackLink& link) { return link.Procedure == nullptr; }))
        return;
    LinkDeeperItems(walk, x, codeAddress, nullptr, false);
}

void LinkCall(TStackWalk& walk,
              std::size_t x,
              std::uintptr_t codeAddress,
              std::optional<std::uintptr_t> target,
              bool approving) {
    if (!target) {
        LinkUnknownTarget(walk, x, codeAddress);
        return;
    }
    TProcedure& callee = walk.Procedures.ProcedureAt(*target);
    if (approving)
        walk.Procedures.Approve(callee);
    if (callee.Invalid)
        return;
    LinkDeeperItems(walk, x, codeAddress, &callee, approving);
    // A jump through a register may leave for anywhere: the call may have gone on from there.
    if (callee.Info.HasUnknownJump())
        LinkUnknownTarget(walk, x, codeAddress);
}

TProcedure* ApprovedProcedureHolding(TProcedureTable& procedures, std::uintptr_t address) {
    for (TProcedure& procedure : procedures.Procedures()) {
        if (IsApproved(&procedure) && procedure.Info.AreaHoldingReturnAddress(address) != nullptr)
            return &procedure;
    }
    return nullptr;
}

// Every other procedure that claims X's call at another instruction than the approved link is
// wrong about the code there.
void InvalidateContradictingProcedures(TStackWalk& walk,
                                       std::size_t x,
                                       const TStackLink& approved) {
    std::vector<TProcedure*> contradicting;
    for (const TStackLink& link : walk.Items[x].Up.Links) {
        if (link.Procedure != nullptr && link.Procedure != approved.Procedure &&
            link.CodeAddress != approved.CodeAddress)
            contradicting.push_back(link.Procedure);
    }
    for (TProcedure* procedure : contradicting) {
        procedure->Invalid = true;
        RemoveLinksNaming(walk.Items, procedure);
    }
}

// Without any procedure that knows X: the calls that the bytes in front of X can hold.
void LinkCallsInFront(TStackWalk& walk, std::size_t x) {
    const std::uintptr_t address = walk.Items[x].Address;
    if (address <= 7)
        return;
    const auto region = walk.Regions.Find(address - 1);
    if (!region)
        return;
    for (std::uintptr_t start = std::max(address - 7, region->Start); start <= address - 2;
         ++start) {
        const auto instruction = walk.Disassembler.Decode(start);
        if (!instruction || !instruction->IsCall() || instruction->Next() != address)
            continue;
        LinkCall(walk, x, start,
                 instruction->HasFixedTarget() ? std::optional{instruction->Target} : std::nullopt,
                 false);
    }
}

void DeepCheck(TStackWalk& walk, std::size_t x) {
    TInternalStackItem& item = walk.Items[x];
    if (FirstApprovedUpLink(item) == nullptr) {
        if (TProcedure* procedure = ApprovedProcedureHolding(walk.Procedures, item.Value)) {
            const auto site =
                walk.Candidates.Verify(*procedure, item.Value, item.Location, TRaiseRule::rrIgnore);
            if (!site) {
                if (!item.Anchor)
                    DropItem(walk.Items, x);
                return;
            }
            item.Up.Links.push_back(
                {std::nullopt, site->CodeAddress, site->TargetKnown, site->Target, procedure, 0});
        }
    }
    const TStackLink* found = FirstApprovedUpLink(item);
    if (found == nullptr) {
        LinkCallsInFront(walk, x);
        return;
    }
    const TStackLink approved = *found;
    InvalidateContradictingProcedures(walk, x, approved);
    if (!approved.CodeAddress)
        return;
    LinkCall(walk, x, *approved.CodeAddress,
             approved.TargetKnown ? std::optional{approved.Target} : std::nullopt, true);
}

}  // namespace

void InDeepChecks(TStackWalk& walk) {
    const std::size_t first = walk.HasCreator ? 1 : 0;
    const std::size_t count = walk.Items.size();
    for (std::size_t x = first; x < count; ++x) {
        walk.CheckAbort();
        walk.Progress(25 + static_cast<int>(625 * (x - first) / (count - first)));
        if (!walk.Items[x].Invalid)
            DeepCheck(walk, x);
    }
    walk.Progress(650);
}

}  // namespace kestrix
