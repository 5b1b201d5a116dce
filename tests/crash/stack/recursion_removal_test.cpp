// Tests of the recursion removal on item addresses written as letters.
#include "crash/stack/recursion_removal.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrix {
namespace {

// The letters of the valid items after the removal; '-' in the input is an invalid item.
std::string AfterRemoval(const std::string& items) {
    std::vector<std::uintptr_t> addresses;
    std::vector<bool> valid;
    for (const char letter : items) {
        addresses.push_back(static_cast<std::uintptr_t>(letter));
        valid.push_back(letter != '-');
    }
    RemoveRecursion(addresses, valid);
    std::string left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (valid[i])
            left.push_back(items[i]);
    }
    return left;
}

TEST(RemoveRecursion, ShowsARepeatedRunOnce) {
    struct Case {
        const char* items;  // outermost first
        const char* left;
    };
    for (const Case& c : {
             Case{"ABCABC", "ABC"},
             Case{"XABCABCABCY", "XABCY"},
             Case{"MAAAAL", "MAL"},
             Case{"ABAB", "AB"},
             Case{"AB-C-AB-C", "ABC"},
             Case{"ABCD", "ABCD"},
             Case{"ABCXABC", "ABCXABC"},  // a return to A through X is no repetition
             Case{"BCABC", "BCABC"},      // the run before the first C is not B C's match
             Case{"A", "A"},
             Case{"", ""},
         }) {
        SCOPED_TRACE(c.items);
        EXPECT_EQ(AfterRemoval(c.items), c.left);
    }
}

TEST(RemoveRecursion, ReturnsTheRemovedItemsFromTheInnermost) {
    const std::vector<std::uintptr_t> addresses{1, 2, 3, 1, 2, 3};
    std::vector<bool> valid(addresses.size(), true);
    EXPECT_EQ(RemoveRecursion(addresses, valid), (std::vector<std::size_t>{5, 4, 3}));
    EXPECT_EQ(valid, (std::vector<bool>{true, true, true, false, false, false}));
}

}  // namespace
}  // namespace kestrix
