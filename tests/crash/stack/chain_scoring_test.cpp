// Tests of the chain scoring on items linked by hand: the weights of the links by their
// procedures, the end reached, and the scores kept in the links.
#include "crash/stack/chain_scoring.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

constexpr std::uint64_t Weight(int exponent) {
    return std::uint64_t{1} << exponent;
}

class ChainScoringTest : public ::testing::Test {
  protected:
    ChainScoringTest() { m_approved.Approved = true; }

    // Links the outer item to the deeper one both ways, naming the procedure (or none).
    void Link(std::size_t outer, std::size_t deeper, TProcedure* procedure) {
        m_items[outer].Down.Links.push_back({deeper, 0x1000, true, 0x2000, procedure, 0});
        m_items[deeper].Up.Links.push_back({outer, 0x1000, true, 0x2000, procedure, 0});
    }

    TProcedure m_approved;
    TProcedure m_unapproved;
    TInternalStackItems m_items = TInternalStackItems(4);
};

TEST_F(ChainScoringTest, EachLinkWeighsByItsProcedureAndThePathByTheEndItReaches) {
    struct Case {
        const char* name;
        TProcedure* first;   // 0 -> 1
        TProcedure* second;  // 1 -> 2
        std::uint64_t value;
    };
    TProcedure* const approved = &m_approved;
    TProcedure* const unapproved = &m_unapproved;
    const Case cases[] = {
        {"approved procedures", approved, approved, ReachedWithProcedure + 2 * Weight(42)},
        {"unapproved procedures", unapproved, unapproved, ReachedWithProcedure + 2 * Weight(28)},
        {"an unknown target at the end", approved, nullptr,
         ReachedWithoutProcedure + Weight(0) + Weight(42)},
        // Without a procedure bit 61 goes, and "direct" is not handed on.
        {"an unknown target first", nullptr, approved,
         ReachedWithProcedure - ChainAllProcedures + Weight(42) + Weight(0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_items = TInternalStackItems(4);
        Link(0, 1, c.first);
        Link(1, 2, c.second);
        EXPECT_EQ(BestPathValue(m_items, 0, 2, true), c.value);
        EXPECT_EQ(m_items[0].Down.Best, 0u);
        // Backwards, along the up links, the same weights.
        EXPECT_EQ(BestPathValue(m_items, 2, 0, true), c.value);
        EXPECT_EQ(m_items[2].Up.Best, 0u);
    }
}

TEST_F(ChainScoringTest, APathThatReachesNothingKeepsTheStartValue) {
    EXPECT_EQ(BestPathValue(m_items, 0, 3, true), ChainStartValue);
    EXPECT_FALSE(m_items[0].Down.Best.has_value());
    // Towards the outside no path reaches its end; its links still add their weights.
    Link(0, 1, &m_approved);
    EXPECT_EQ(BestPathValue(m_items, 1, std::nullopt, false), ChainStartValue + Weight(28));
}

TEST_F(ChainScoringTest, TheBestLinkIsTheHighestScoredOne) {
    Link(0, 1, &m_unapproved);
    Link(0, 2, &m_approved);
    Link(1, 2, &m_approved);
    // 0 -> 2 directly weighs 2^42; through 1 the unapproved link adds 2^28 to that.
    EXPECT_EQ(BestPathValue(m_items, 0, 2, true), ReachedWithProcedure + Weight(42) + Weight(28));
    EXPECT_EQ(m_items[0].Down.Best, 0u);
}

TEST_F(ChainScoringTest, APathDoesNotReachItsEndByAWayRoundPastIt) {
    // 1 and 3 are not connected; 0 calls both 1 and 2, and 2 calls 3. Going up from 3 past 1 to 0
    // and down again to 1 is no chain of calls between them.
    Link(0, 1, &m_approved);
    Link(0, 2, &m_approved);
    Link(2, 3, &m_approved);
    EXPECT_EQ(BestPathValue(m_items, 3, 1, true) & ChainReachesEnd, 0u);
    EXPECT_EQ(m_items[2].Up.Links[0].Score, 0u);
}

}  // namespace
}  // namespace kestrix
