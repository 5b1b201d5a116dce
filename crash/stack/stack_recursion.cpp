// \brief Recursion removal on the walker's items, through RemoveRecursion on their addresses.
#include "crash/stack/stack_recursion.h"

#include "crash/stack/recursion_removal.h"

namespace kestrix {
namespace {

enum class TRemoval { rmDrop, rmMark };

void RemoveRecursiveItems(TStackWalk& walk, TRemoval removal) {
    walk.CheckAbort();
    std::vector<std::uintptr_t> addresses;
    std::vector<bool> valid;
    for (const TInternalStackItem& item : walk.Items) {
        addresses.push_back(item.Address);
        valid.push_back(!item.Invalid);
    }
    for (const std::size_t index : RemoveRecursion(addresses, valid)) {
        walk.Items[index].Anchor = false;
        if (removal == TRemoval::rmDrop)
            DropItem(walk.Items, index);
        else
            walk.Items[index].Invalid = true;
    }
}

}  // namespace

void RemoveRecursiveStackAreas(TStackWalk& walk) {
    RemoveRecursiveItems(walk, TRemoval::rmDrop);
}

void RemoveRecursiveAreas(TStackWalk& walk) {
    RemoveRecursiveItems(walk, TRemoval::rmMark);
}

}  // namespace kestrix
