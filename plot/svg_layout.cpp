#include "plot/svg_layout.h"

#include <algorithm>

#include "plot/text_width.h"

namespace quorvane::plot {
namespace {

constexpr double kPlotWidth = 600.0;
constexpr double kPlotHeight = 420.0;
constexpr double kTitlePixels = 17.0;
// Titles shrink to fit no further than this (10 pt).
constexpr double kSmallestTitlePixels = 13.5;
constexpr double kBoldWidening = 1.1;
constexpr double kEdge = 10.0;
constexpr double kTitleBaseline = 30.0;
constexpr double kAreaTop = 52.0;
// The rotated y label's glyphs reach this far left of its baseline.
constexpr double kAscent = 0.8;
constexpr double kLabelToTicks = 14.0;
constexpr double kTickTextGap = 9.0;
constexpr double kXTickBaseline = 6.0 + kFontPixels;
constexpr double kXLabelBaseline = 46.0;
constexpr double kBottomMargin = 62.0;
constexpr double kLegendOffset = 16.0;
constexpr double kRightMargin = 12.0;

double WidestTick(const AxisTicks& ticks) {
  double widest = 0.0;
  for (double v : ticks.values) {
    widest = std::max(widest, TextWidth(TickText(v, ticks.step)) * kFontPixels);
  }
  return widest;
}

void PlaceLegend(SvgLayout& layout) {
  double widest = 0.0;
  for (const LegendEntry& entry : layout.legend) {
    widest = std::max(widest, TextWidth(entry.text) * kFontPixels);
  }
  Box& box = layout.legendBox;
  box.left = layout.area.Right() + kLegendOffset;
  box.top = layout.area.top;
  box.width = 2 * kLegendPadding + kLegendKey + kLegendGap + widest;
  box.height = 2 * kLegendPadding + kLegendRow * static_cast<double>(layout.legend.size());
  layout.area.height = std::max(layout.area.height, box.height);
}

void PlaceTitle(const Figure& figure, SvgLayout& layout) {
  const double width = TextWidth(figure.title) * kBoldWidening;
  layout.titlePixels = kTitlePixels;
  if (width * kTitlePixels > layout.width - 2 * kEdge) {
    layout.titlePixels =
        std::max(kSmallestTitlePixels, (layout.width - 2 * kEdge) / std::max(width, 1.0));
  }
  const double needed = width * layout.titlePixels + 2 * kEdge;
  if (needed <= layout.width) return;
  // Still too long: the canvas widens on both sides.
  const double shift = (needed - layout.width) / 2;
  layout.width = needed;
  for (double* x :
       {&layout.area.left, &layout.legendBox.left, &layout.yTickRight, &layout.yLabelBaseline}) {
    *x += shift;
  }
}

}  // namespace

SvgLayout LayOut(const Figure& figure, const FigureAxes& axes) {
  SvgLayout layout;
  layout.legend = LegendOf(figure);
  layout.titleBaseline = kTitleBaseline;
  layout.yLabelBaseline = kEdge + kAscent * kFontPixels;
  layout.yTickRight = layout.yLabelBaseline + kLabelToTicks + WidestTick(axes.y);
  layout.area = {layout.yTickRight + kTickTextGap, kAreaTop, kPlotWidth, kPlotHeight};
  // The last x tick's text is centred on the frame's right edge.
  const double lastTick =
      axes.x.values.empty() ? 0.0 : TextWidth(TickText(axes.x.values.back(), axes.x.step));
  layout.width =
      layout.area.Right() + std::max(2 * kRightMargin, lastTick * kFontPixels / 2 + kEdge);
  if (!layout.legend.empty()) {
    PlaceLegend(layout);
    layout.width = std::max(layout.width, layout.legendBox.Right() + kRightMargin);
  }
  layout.xTickBaseline = layout.area.Bottom() + kXTickBaseline;
  layout.xLabelBaseline = layout.area.Bottom() + kXLabelBaseline;
  layout.height = layout.area.Bottom() + kBottomMargin;
  PlaceTitle(figure, layout);
  return layout;
}

}  // namespace quorvane::plot
