#include "plot/temperature_groups.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace quorvane::plot {
namespace {

// Thirty temperatures spread without pattern from 300 to 2474 K, as laser-
// heated runs give them.
std::vector<double> Scattered() {
  std::vector<double> t;
  for (int i = 0; i < 30; ++i) t.push_back(300.0 + std::fmod(i * 1373.0, 2174.0));
  return t;
}

// Two furnace settings, each read a few kelvin apart, in mixed order.
const std::vector<double> kTwoClusters = {298, 1001, 300, 997, 299, 1003, 301, 1000};

// Every point in exactly one group; groups in increasing temperature that do
// not overlap; each group's mean within its span.
void ExpectPartition(const std::vector<double>& t, const std::vector<TemperatureGroup>& groups) {
  std::vector<int> seen(t.size(), 0);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const TemperatureGroup& group = groups[g];
    ASSERT_FALSE(group.members.empty());
    EXPECT_LE(group.low, group.mean);
    EXPECT_LE(group.mean, group.high);
    if (g > 0) {
      EXPECT_LT(groups[g - 1].high, group.low);
    }
    for (std::size_t i : group.members) {
      ++seen[i];
      EXPECT_GE(t[i], group.low);
      EXPECT_LE(t[i], group.high);
    }
  }
  for (std::size_t i = 0; i < t.size(); ++i) EXPECT_EQ(seen[i], 1) << "point " << i;
}

TEST(TemperatureGroups, FollowTheDataClustersAtMostEight) {
  const struct {
    std::string name;
    std::vector<double> temperatures;
    std::size_t groups;
  } cases[] = {
      {"one isotherm", std::vector<double>(12, 298.0), 1},
      {"two clusters", kTwoClusters, 2},
      {"30 scattered temperatures", Scattered(), kMostTemperatureGroups},
      {"one point", {1500.0}, 1},
      {"nine settings", {300, 400, 500, 600, 700, 800, 900, 1000, 1100}, kMostTemperatureGroups},
      {"one per cent apart under laser heating", {2000, 2015, 2008, 1995, 1990}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TemperatureGroup> groups = GroupTemperatures(c.temperatures);
    EXPECT_EQ(groups.size(), c.groups);
    ExpectPartition(c.temperatures, groups);
  }
}

TEST(TemperatureGroups, TwoClustersHaveTheirOwnMembersAndMeans) {
  const std::vector<TemperatureGroup> groups = GroupTemperatures(kTwoClusters);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].members, (std::vector<std::size_t>{0, 2, 4, 6}));
  EXPECT_EQ(groups[1].members, (std::vector<std::size_t>{1, 3, 5, 7}));
  EXPECT_DOUBLE_EQ(groups[0].mean, 299.5);
  EXPECT_DOUBLE_EQ(groups[1].mean, 1000.25);
}

// Too many clusters split at the widest gaps: the isolated point at 2400 K
// keeps a group of its own rather than joining its far neighbour.
TEST(TemperatureGroups, TooManyClustersSplitAtTheWidestGaps) {
  const std::vector<double> t = {300, 310, 320, 330, 340, 350, 360, 370, 380, 2400};
  const std::vector<TemperatureGroup> groups = GroupTemperatures(t, 2);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[1].members, (std::vector<std::size_t>{9}));
  // The order of the points changes nothing.
  const std::vector<double> reversed(t.rbegin(), t.rend());
  const std::vector<TemperatureGroup> again = GroupTemperatures(reversed, 2);
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[0].low, groups[0].low);
  EXPECT_EQ(again[0].high, groups[0].high);
}

}  // namespace
}  // namespace quorvane::plot
