#include "plot/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::plot {
namespace {

// Ranges a plot meets: pressures, volumes, residuals around zero, strains,
// tiny and huge magnitudes, and a single value. The ticks lie within the
// range, are evenly spaced by 1, 2 or 5 times a power of ten, and number
// enough to read the axis but not so many that their labels collide.
TEST(AxisTicks, StepsOfOneTwoFiveWithinTheRange) {
  const struct {
    double low, high;
  } ranges[] = {{-0.18, 9.23}, {66.2, 75.1}, {-0.031, 0.034}, {0.0, 0.0345},
                {1e-9, 7e-9},  {2e5, 9.5e7}, {42.0, 42.0},    {-3.0, -3.0}};
  for (const auto& range : ranges) {
    const AxisTicks ticks = NiceTicks(range.low, range.high, 8);
    ASSERT_GE(ticks.values.size(), 3u) << range.low << " " << range.high;
    EXPECT_LE(ticks.values.size(), 17u) << range.low << " " << range.high;
    const double mantissa = ticks.step / std::pow(10.0, std::floor(std::log10(ticks.step)));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
                std::fabs(mantissa - 5) < 1e-9)
        << ticks.step;
    for (std::size_t i = 0; i < ticks.values.size(); ++i) {
      EXPECT_GE(ticks.values[i], ticks.low - 1e-9 * ticks.step);
      EXPECT_LE(ticks.values[i], ticks.high + 1e-9 * ticks.step);
      if (i > 0) {
        EXPECT_NEAR(ticks.values[i] - ticks.values[i - 1], ticks.step, 1e-9 * ticks.step);
      }
    }
    EXPECT_LE(ticks.low, range.low);
    EXPECT_GE(ticks.high, range.high);
  }
}

}  // namespace
}  // namespace quorvane::plot
