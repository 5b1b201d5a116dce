// \brief Recursion removal over a stack's items: a run of calls that repeats itself right before
// an identical run (A B C A B C) is listed once (A B C).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrix {

// addresses holds the items' addresses from the outermost (index 0) to the innermost, valid
// their validity. For every valid item X from the last down to index 1: with Y the nearest
// earlier valid item of X's address and n the valid items between them, when at least n valid
// items lie before Y and the n valid items before X equal those before Y pairwise and in order,
// X and the n valid items before it are made invalid. Passes repeat until one removes nothing.
// Returns the indexes made invalid, in the order they were removed.
std::vector<std::size_t> RemoveRecursion(std::span<const std::uintptr_t> addresses,
                                         std::vector<bool>& valid);

}  // namespace kestrix
