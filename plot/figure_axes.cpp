#include "plot/figure_axes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "numtext/double_text.h"

namespace quorvane::plot {
namespace {

// Enough ticks to read a value off the axis, few enough for their texts
// not to touch.
constexpr int kTickCount = 8;
// A margin, so no marker sits on the frame.
constexpr double kRangeMargin = 0.04;
// The axes take in every error bar up to this many times the spread of the
// points: one point near zero strain, whose F is known to no digit, must not
// squash the others into a line. Longer bars run off the frame.
constexpr double kLongestErrorBar = 10.0;
// Magnitudes outside [kSmallest, kLargest) are written with an exponent.
constexpr double kSmallest = 1e-4;
constexpr double kLargest = 1e6;
constexpr const char* kMinus = "\u2212";

struct Range {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  void Add(double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  }
};

void AddPoints(const Figure& figure, Range& x, Range& y) {
  for (const Series& series : figure.series) {
    for (std::size_t i = 0; i < series.x.size() && i < series.y.size(); ++i) {
      if (!std::isfinite(series.x[i]) || !std::isfinite(series.y[i])) continue;
      x.Add(series.x[i]);
      y.Add(series.y[i]);
    }
  }
  if (figure.zeroLine) y.Add(0.0);
}

void AddErrorBars(const Figure& figure, Range& x, Range& y) {
  const double spread = y.high > y.low ? y.high - y.low : std::fabs(y.high);
  for (const Series& series : figure.series) {
    for (std::size_t i = 0; i < series.yError.size() && i < series.y.size(); ++i) {
      const double e = series.yError[i];
      if (!(e <= kLongestErrorBar * spread) && spread > 0.0) continue;
      y.Add(series.y[i] - e);
      y.Add(series.y[i] + e);
    }
    for (std::size_t i = 0; i < series.xError.size() && i < series.x.size(); ++i) {
      x.Add(series.x[i] - series.xError[i]);
      x.Add(series.x[i] + series.xError[i]);
    }
  }
}

AxisTicks WithMargin(Range range) {
  if (!(range.low <= range.high)) range.low = range.high = 0.0;
  const double margin = kRangeMargin * (range.high - range.low);
  return NiceTicks(range.low - margin, range.high + margin, kTickCount);
}

std::string Formatted(double value, std::chars_format format, int precision) {
  return numtext::FormattedText(value, format, precision);
}

}  // namespace

FigureAxes AxesOf(const Figure& figure) {
  Range x, y;
  AddPoints(figure, x, y);
  AddErrorBars(figure, x, y);
  return {WithMargin(x), WithMargin(y)};
}

std::string TickText(double value, double step) {
  const double magnitude = std::fabs(value);
  std::string digits;
  if (magnitude >= kLargest || (magnitude != 0.0 && magnitude < kSmallest)) {
    digits = Formatted(magnitude, std::chars_format::scientific, 2);
  } else {
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    digits = Formatted(magnitude, std::chars_format::fixed, decimals);
  }
  return value < 0.0 ? kMinus + digits : digits;
}

}  // namespace quorvane::plot
