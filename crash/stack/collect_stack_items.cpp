// \brief Collecting the candidates: frame-chain slots are anchors, the saved frame pointer below
// each is passed over, and the collection ends early at the location.
#include "crash/stack/collect_stack_items.h"

#include <algorithm>
#include <utility>

#include "crash/stack/after_call_test.h"
#include "crash/stack/frame_chain.h"

namespace kestrix {
namespace {

// Tests the value; an accepted one becomes the last item. Returns whether it did.
bool AddCandidate(TStackWalk& walk, std::uintptr_t value, TCandidateKind kind) {
    const auto candidate = walk.Candidates.Test(value, kind);
    if (!candidate)
        return false;
    TInternalStackItem& item = walk.Items.emplace_back();
    item.Address = candidate->Address;
    item.Value = value;
    item.Module = candidate->Module;
    item.Anchor = candidate->Anchor;
    item.Location = candidate->Location;
    item.Creator = kind == TCandidateKind::ckCreator;
    if (candidate->Call) {
        const TCallSite& call = *candidate->Call;
        item.Up.Links.push_back(
            {std::nullopt, call.CodeAddress, call.TargetKnown, call.Target, candidate->Procedure});
    }
    return true;
}

bool LastIsLocation(const TStackWalk& walk) {
    return !walk.Items.empty() && walk.Items.back().Location;
}

void CollectPreparedItems(TStackWalk& walk, const TDAPreStackItem& prepared) {
    for (std::size_t i = 0; i < prepared.size(); ++i) {
        walk.CheckAbort();
        walk.Progress(static_cast<int>(25 * i / prepared.size()));
        const TPreStackItem& slot = prepared[i];
        const auto kind =
            slot.FrameChainSlot != 0 ? TCandidateKind::ckAnchor : TCandidateKind::ckSlot;
        if (AddCandidate(walk, slot.Address, kind) && LastIsLocation(walk))
            return;
    }
}

void CollectSlots(TStackWalk& walk) {
    std::vector<std::uintptr_t> chain;
    if (walk.Params.FramePointer != 0)
        chain = FrameChainSlots(walk.Params.FramePointer, walk.StackBottom, walk.StackTop);
    std::sort(chain.begin(), chain.end());
    const std::size_t count = walk.Slots.size();
    bool passOver = false;
    for (std::size_t i = count; i-- > 0;) {
        walk.CheckAbort();
        walk.Progress(static_cast<int>(25 * (count - 1 - i) / count));
        if (std::exchange(passOver, false))
            continue;  // the saved frame pointer below a frame-chain slot
        const std::uintptr_t slot = walk.StackBottom + i * sizeof(std::uintptr_t);
        const std::uintptr_t value = walk.Slots[i];
        // A frame pointer that is not one (code built without them keeps anything there) leads
        // to slots of any content: only a value that can be a return address is taken as certain.
        const bool chainSlot = std::binary_search(chain.begin(), chain.end(), slot) && value > 7 &&
                               PassesAfterCallTest(value);
        if (!AddCandidate(walk, value,
                          chainSlot ? TCandidateKind::ckAnchor : TCandidateKind::ckSlot))
            continue;
        if (LastIsLocation(walk))
            return;
        passOver = chainSlot;
    }
}

}  // namespace

void CollectPossibleStackItems(TStackWalk& walk) {
    const TStackTraceParams& params = walk.Params;
    if (params.CreatorAddress != 0)
        walk.HasCreator = AddCandidate(walk, params.CreatorAddress, TCandidateKind::ckCreator);
    if (params.PreparedStack != nullptr)
        CollectPreparedItems(walk, *params.PreparedStack);
    else
        CollectSlots(walk);
    const bool locationExists =
        std::any_of(walk.Items.begin(), walk.Items.end(),
                    [](const TInternalStackItem& item) { return item.Location; });
    if (!params.DoNotAddLocation && !locationExists && walk.CurrentAddress)
        walk.LocationAdded = AddCandidate(walk, *walk.CurrentAddress, TCandidateKind::ckLocation);
    walk.Progress(25);
}

}  // namespace kestrix
