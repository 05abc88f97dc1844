#pragma once

#include <string>
#include <vector>

namespace quorvane::plot {

// One set of points on a figure: markers (with vertical error bars where
// yError holds them) or a line through the points in order.
struct Series {
  std::string label;
  std::vector<double> x;
  std::vector<double> y;
  // Empty, or one standard deviation per point.
  std::vector<double> yError;
  bool line = false;
  // The colour's place in the figure's palette; -1: the series' own place.
  // Data and the curve fitted to them share one.
  int colour = -1;
  // Empty, or one standard deviation per point, drawn as horizontal bars.
  std::vector<double> xError = {};
  // Bounds and marks beside the curves themselves are drawn dashed or dotted.
  enum class Stroke { Solid, Dashed, Dotted };
  Stroke stroke = Stroke::Solid;
};

// A two-dimensional plot with linear axes that fit every point and error bar.
struct Figure {
  std::string title;
  std::string xLabel;
  std::string yLabel;
  std::vector<Series> series;
  // Draws the line y = 0, for residuals.
  bool zeroLine = false;
};

}  // namespace quorvane::plot
