#include "plot/axis_ticks.h"

#include <cmath>

namespace quorvane::plot {
namespace {

// A tick within this fraction of a step outside the range still counts as on
// its edge.
constexpr double kEdgeSlack = 1e-9;

}  // namespace

AxisTicks NiceTicks(double low, double high, int targetCount) {
  if (!(high > low)) {
    const double half = low == 0.0 ? 1.0 : 0.5 * std::fabs(low);
    low -= half;
    high += half;
  }
  const double rough = (high - low) / targetCount;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10.0 * power;
  for (double multiple : {1.0, 2.0, 5.0}) {
    if (multiple * power >= rough) {
      step = multiple * power;
      break;
    }
  }
  AxisTicks ticks;
  ticks.step = step;
  ticks.low = low;
  ticks.high = high;
  const double first = std::ceil(low / step - kEdgeSlack);
  const double last = std::floor(high / step + kEdgeSlack);
  for (double i = first; i <= last; ++i) {
    const double value = i * step;
    // Ticks at zero print as 0, not as a rounding residue like 1e-17.
    ticks.values.push_back(std::fabs(value) < 1e-9 * step ? 0.0 : value);
  }
  return ticks;
}

}  // namespace quorvane::plot
