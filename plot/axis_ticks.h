#pragma once

#include <vector>

namespace quorvane::plot {

// A linear axis: its range, and ticks at the multiples of a step of 1, 2 or
// 5 times a power of ten that lie within it.
struct AxisTicks {
  double low = 0.0;
  double high = 1.0;
  double step = 0.2;
  std::vector<double> values;
};

// About targetCount ticks over [low, high]; an empty or degenerate range is
// widened around its value.
AxisTicks NiceTicks(double low, double high, int targetCount);

}  // namespace quorvane::plot
