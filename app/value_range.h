#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::app {

// The values of one quantity: a single number, a list a,b,c, or
// start:stop:step with the stop included when a whole number of steps
// reaches it. A negative step runs downwards.
struct ValueRange {
  double start = 0.0;
  double step = 0.0;
  std::int64_t count = 1;
  // The final value: the stop itself when the steps reach it.
  double last = 0.0;
  // Written as one number rather than as a range.
  bool single = true;
  // When start and step are decimals of at most 22 places, value i is
  // (startUnits + i stepUnits) / unit exactly as written ("0:1:0.1" gives the
  // double of "0.3", not 3 x 0.1); unit is 0 otherwise.
  double unit = 0.0;
  std::int64_t startUnits = 0;
  std::int64_t stepUnits = 0;
  // The values of a list, in the order given; empty for a range.
  std::vector<double> listed;

  double At(std::int64_t i) const {
    if (!listed.empty()) return listed[static_cast<std::size_t>(i)];
    if (i == count - 1) return last;
    if (unit > 0.0) return static_cast<double>(startUnits + i * stepUnits) / unit;
    return start + static_cast<double>(i) * step;
  }
  static ValueRange Single(double x) { return {x, 0.0, 1, x, true, 0.0, 0, 0, {}}; }
  double Lowest() const {
    if (!listed.empty()) return *std::min_element(listed.begin(), listed.end());
    return std::min(start, last);
  }
};

// The most values one range may hold.
inline constexpr std::int64_t kMaxRangeValues = 100'000'000;

// Reads "x", "x1,x2,..." or "start:stop:step", each a strict decimal number. Throws
// InputError naming the argument when the text is not of that form, the step
// is zero, the range is empty (the step leads away from the stop) or it has
// more than kMaxRangeValues values.
ValueRange ParseValueRange(std::string_view text, std::string_view argument);

// Where a refusal of value i (from 0) of the option's range points: the
// option alone for a single value, "--P value 3" among several.
std::string RangeValueLocation(std::string_view option, const ValueRange& range, std::int64_t i);

}  // namespace quorvane::app
