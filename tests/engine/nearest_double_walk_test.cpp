#include "engine/nearest_double_walk.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <set>
#include <string>

namespace quorvane::engine {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kReach = NearestDoubleWalk::kReach;
constexpr int kMoveCap = NearestDoubleWalk::kMoveCap;

// Residuals as a function of the offset, in doubles, from the starting volume.
using Residuals = double (*)(std::int64_t offset);

struct WalkCase {
  const char* name;
  double start;
  Residuals residual;
  std::int64_t end;  // where the walk stops, in doubles from the start
};

const WalkCase kWalkCases[] = {
    // Both neighbours farther from the target than the last double in reach.
    {"FindsADipBeyondWorseNeighbours", 1.0,
     [](std::int64_t k) { return k == kReach ? 0.5
                                 : k == 0    ? 1.0
                                             : 2.0; }, kReach},
    {"StaysOnAPlateau", 1.0, [](std::int64_t) { return 1.0; }, 0},
    {"PrefersTheNearerOfEqualDips", 1.0,
     [](std::int64_t k) { return k == 0                     ? 2.0
                                 : (k == 1 || k == -kReach) ? 1.0
                                                            : 3.0; }, 1},
    {"PrefersTheSmallerVolumeOfEqualDipsAlike", 1.0,
     [](std::int64_t k) { return k == 0                ? 2.0
                                 : (k == 2 || k == -2) ? 1.0
                                                       : 3.0; }, -2},
    {"FollowsASlopeWellBeyondItsReach", 1.0,
     [](std::int64_t k) { return static_cast<double>(k - 40); }, 40},
    {"StopsAtTheBestItHasSeenAfterItsMoves", 1.0,
     [](std::int64_t k) { return static_cast<double>(k - 100000); }, kMoveCap* kReach},
    {"IgnoresResidualsThatAreNoNumbers", 1.0,
     [](std::int64_t k) { return k == 2    ? kNaN
                                 : k == -2 ? 0.5
                                           : 1.0; }, -2},
    {"NeverStepsBelowTheSmallestVolume", std::numeric_limits<double>::denorm_min(),
     [](std::int64_t k) { return std::fabs(static_cast<double>(k + 2)); }, 0},
    {"NeverStepsBeyondTheLargestVolume", std::numeric_limits<double>::max(),
     [](std::int64_t k) { return std::fabs(static_cast<double>(k - 3)); }, 0},
};

class NearestDoubleWalkCases : public testing::TestWithParam<WalkCase> {};

// Every volume asked for is a positive finite double asked for once, and the
// walk ends where the case says.
TEST_P(NearestDoubleWalkCases, EndsAtTheNearestDoubleInReach) {
  const WalkCase& c = GetParam();
  const auto bits = [&](double V) { return std::bit_cast<std::int64_t>(V); };
  const auto residual = [&](double V) { return c.residual(bits(V) - bits(c.start)); };
  std::set<double> asked;
  NearestDoubleWalk walk;
  walk.Start(c.start, c.start, residual(c.start));
  asked.insert(c.start);
  double residuals[NearestDoubleWalk::kWindow];
  while (!walk.Done()) {
    ASSERT_LE(walk.WantedCount(), static_cast<std::size_t>(NearestDoubleWalk::kWindow));
    for (std::size_t i = 0; i < walk.WantedCount(); ++i) {
      const double V = walk.Wanted()[i];
      ASSERT_TRUE(V > 0.0 && std::isfinite(V)) << V;
      ASSERT_TRUE(asked.insert(V).second) << "asked twice for " << V;
      residuals[i] = residual(V);
    }
    walk.Supply(residuals);
  }
  EXPECT_EQ(bits(walk.V()) - bits(c.start), c.end);
  EXPECT_EQ(walk.Residual(0), residual(walk.V()));
}

INSTANTIATE_TEST_SUITE_P(Residuals, NearestDoubleWalkCases, testing::ValuesIn(kWalkCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::engine
