#pragma once

#include <vector>

#include "plot/figure.h"
#include "plot/figure_axes.h"

namespace quorvane::plot {

// Text at 15 px is 11.25 pt at 100 %: readable on a page and on a slide.
inline constexpr double kFontPixels = 15.0;
inline constexpr double kLegendPadding = 8.0;
inline constexpr double kLegendRow = 22.0;
inline constexpr double kLegendKey = 24.0;
inline constexpr double kLegendGap = 8.0;

struct Box {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

// Where everything of a figure goes, in pixels from the canvas' top left.
struct SvgLayout {
  double width = 0.0;
  double height = 0.0;
  Box area;
  std::vector<LegendEntry> legend;
  Box legendBox;
  double titlePixels = 0.0;
  double titleBaseline = 0.0;
  double xTickBaseline = 0.0;
  double xLabelBaseline = 0.0;
  // The right end of the y ticks' texts, and the baseline of the rotated
  // y label.
  double yTickRight = 0.0;
  double yLabelBaseline = 0.0;
};

// The data area keeps one size; the canvas grows to the left for long tick
// texts, to the right for the legend and to both sides for a long title.
SvgLayout LayOut(const Figure& figure, const FigureAxes& axes);

}  // namespace quorvane::plot
