// Tests of the value lists of series: placement by order and the cached statistics.
#include "chart/chart_value_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace gatool {
namespace {

std::vector<double> Values(const TChartValueList& list) {
    std::vector<double> values;
    for (int i = 0; i < list.Count(); ++i) {
        values.push_back(list.Value(i));
    }
    return values;
}

struct PlacementCase {
    const char* Name;
    TChartListOrder Order;
    std::vector<double> Existing;
    double Added;
    int Index;
};

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, PutsTheValueWhereTheOrderWantsIt) {
    const PlacementCase& c = GetParam();
    TChartValueList list("X", c.Order);
    for (const double value : c.Existing) {
        list.Add(value);
    }
    EXPECT_EQ(list.Add(c.Added), c.Index);
    std::vector<double> expected = c.Existing;
    expected.insert(expected.begin() + c.Index, c.Added);
    EXPECT_EQ(Values(list), expected);
}

INSTANTIATE_TEST_SUITE_P(
    ValueList,
    Placement,
    testing::Values(
        PlacementCase{"EmptyListAppends", loAscending, {}, 5, 0},
        PlacementCase{"AscendingAppendsALargerValue", loAscending, {1, 2}, 3, 2},
        PlacementCase{"AscendingAppendsAnEqualLastValue", loAscending, {1, 2}, 2, 2},
        PlacementCase{"AscendingInsertsBetween", loAscending, {1, 3}, 2, 1},
        PlacementCase{"AscendingPutsEqualValuesBehindTheirEquals", loAscending, {1, 2, 2, 3}, 2, 3},
        PlacementCase{"AscendingPutsTheSmallestFirst", loAscending, {1, 2}, 0, 0},
        PlacementCase{"DescendingInsertsBetween", loDescending, {3, 1}, 2, 1},
        PlacementCase{"DescendingPutsEqualValuesBehindTheirEquals", loDescending, {3, 2, 1}, 2, 2},
        PlacementCase{"DescendingPutsTheLargestFirst", loDescending, {3, 1}, 4, 0},
        PlacementCase{"NoOrderAppends", loNone, {3, 1}, 2, 2}),
    [](const testing::TestParamInfo<PlacementCase>& param) {
        return std::string(param.param.Name);
    });

TEST(ValueListStatistics, AreZeroForAnEmptyList) {
    const TChartValueList list("Y", loNone);
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    EXPECT_EQ(list.Total(), 0);
    EXPECT_EQ(list.TotalABS(), 0);
}

TEST(ValueListStatistics, FollowEveryChangeOfTheList) {
    TChartValueList list("Y", loNone);
    list.Add(2);
    list.Add(-5);
    list.Add(3);
    EXPECT_EQ(list.MinValue(), -5);
    EXPECT_EQ(list.MaxValue(), 3);
    EXPECT_EQ(list.Total(), 0);
    EXPECT_EQ(list.TotalABS(), 10);

    list.InsertAt(1, 7);  // read once above, so a stale cache would still say 3
    EXPECT_EQ(list.MaxValue(), 7);
    EXPECT_EQ(list.Total(), 7);
    list.Add(-9);
    EXPECT_EQ(list.MinValue(), -9);
    EXPECT_EQ(list.TotalABS(), 26);

    list.Clear();
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    EXPECT_EQ(list.TotalABS(), 0);
}

TEST(ValueListStatistics, OfASingleNegativeValueHaveItAsBothEnds) {
    TChartValueList list("Y", loNone);
    list.Add(-4);
    EXPECT_EQ(list.MinValue(), -4);
    EXPECT_EQ(list.MaxValue(), -4);
}

}  // namespace
}  // namespace gatool
