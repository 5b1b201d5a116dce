// \brief Recursion removal, on the valid items only.
#include "crash/stack/recursion_removal.h"

#include <algorithm>

namespace kestrix {
namespace {

// The valid indexes below index, nearest first, at most count of them.
std::vector<std::size_t> ValidBefore(const std::vector<bool>& valid,
                                     std::size_t index,
                                     std::size_t count) {
    std::vector<std::size_t> found;
    for (std::size_t i = index; i-- > 0 && found.size() < count;) {
        if (valid[i])
            found.push_back(i);
    }
    return found;
}

bool RemoveOnePass(std::span<const std::uintptr_t> addresses,
                   std::vector<bool>& valid,
                   std::vector<std::size_t>& removed) {
    bool any = false;
    for (std::size_t x = addresses.size(); x-- > 1;) {
        if (!valid[x])
            continue;
        std::size_t between = 0;
        std::size_t y = x;
        while (y-- > 0) {
            if (!valid[y])
                continue;
            if (addresses[y] == addresses[x])
                break;
            ++between;
        }
        if (y == static_cast<std::size_t>(-1))
            continue;
        const auto beforeX = ValidBefore(valid, x, between);
        const auto beforeY = ValidBefore(valid, y, between);
        if (beforeY.size() < between ||
            !std::equal(beforeX.begin(), beforeX.end(), beforeY.begin(),
                        [&](std::size_t a, std::size_t b) { return addresses[a] == addresses[b]; }))
            continue;
        valid[x] = false;
        removed.push_back(x);
        for (const std::size_t index : beforeX) {
            valid[index] = false;
            removed.push_back(index);
        }
        any = true;
    }
    return any;
}

}  // namespace

std::vector<std::size_t> RemoveRecursion(std::span<const std::uintptr_t> addresses,
                                         std::vector<bool>& valid) {
    std::vector<std::size_t> removed;
    valid.resize(addresses.size(), false);
    while (RemoveOnePass(addresses, valid, removed)) {
    }
    return removed;
}

}  // namespace kestrix
