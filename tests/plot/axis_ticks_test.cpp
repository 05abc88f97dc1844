#include "plot/axis_ticks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "plot/figure_axes.h"

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

namespace quorvane::plot {
namespace {

Figure PointsFrom(double low, double high, bool zeroLine) {
  Figure figure;
  figure.series.push_back({"", {0.0, 1.0}, {low, high}});
  figure.zeroLine = zeroLine;
  return figure;
}

// The ticks a figure's y axis gets for data a fit meets: round values
// inside the data's range and its margin, never the range's own ends.
TEST(FigureAxes, TicksAtRoundValuesOfTheData) {
  const struct {
    const char* name;
    double low, high;
    bool zeroLine;
    std::vector<double> ticks;
    std::vector<std::string> texts;
  } cases[] = {
      {"pressures", -0.1, 26.5, false, {0, 5, 10, 15, 20, 25}, {"0", "5", "10", "15", "20", "25"}},
      {"volumes", 66.6, 80.5, false, {68, 70, 72, 74, 76, 78, 80}, {}},
      {"residuals in sigmas",
       -2.6,
       2.65,
       true,
       {-2, -1, 0, 1, 2},
       {"\u22122", "\u22121", "0", "1", "2"}},
      {"residuals all above zero", 0.4, 1.9, true, {0, 0.5, 1, 1.5}, {"0.0", "0.5", "1.0", "1.5"}},
      {"strains",
       -0.0245,
       0.0396,
       false,
       {-0.02, -0.01, 0.0, 0.01, 0.02, 0.03, 0.04},
       {"\u22120.02", "\u22120.01", "0.00"}},
      {"temperatures", 300, 2474, false, {500, 1000, 1500, 2000, 2500}, {"500", "1000"}},
      {"a single value", 42.0, 42.0, false, {30, 40, 50, 60}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const AxisTicks y = AxesOf(PointsFrom(c.low, c.high, c.zeroLine)).y;
    ASSERT_EQ(y.values.size(), c.ticks.size());
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
      EXPECT_NEAR(y.values[i], c.ticks[i], 1e-12);
    }
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      EXPECT_EQ(TickText(y.values[i], y.step), c.texts[i]);
    }
    EXPECT_LT(y.low, std::min(c.low, c.zeroLine ? 0.0 : c.low));
    EXPECT_GT(y.high, c.high);
  }
}

}  // namespace
}  // namespace quorvane::plot
