#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "plot/colour.h"

namespace quorvane::plot {

// One set of points on a figure: markers (with vertical error bars where
// yError holds them) or a line through the points in order.
struct Series {
  std::string label;
  std::vector<double> x;
  std::vector<double> y;
  // Empty, or one standard deviation per point.
  std::vector<double> yError = {};
  bool line = false;
  // The colour's place in the figure's palette; -1: the series' own place.
  // Data and the curve fitted to them share one.
  int colour = -1;
  // Empty, or one standard deviation per point, drawn as horizontal bars.
  std::vector<double> xError = {};
  // Bounds and marks beside the curves themselves are drawn dashed or dotted.
  enum class Stroke { Solid, Dashed, Dotted };
  Stroke stroke = Stroke::Solid;
  // Markers of data that leave some of its points out: the index in the data
  // of the point behind each marker. Empty: one marker for each point in the
  // data's order, or markers of no data.
  std::vector<std::size_t> points = {};
};

// One row of the legend: a marker, a line or both in one colour, and a text.
struct LegendEntry {
  std::string text;
  int colour = 0;
  bool marker = false;
  bool line = false;
  Series::Stroke stroke = Series::Stroke::Solid;
};

// A two-dimensional plot with linear axes that fit every point and error bar.
// It says everything a host draws; hosts differ only in how they draw it.
struct Figure {
  std::string title;
  // The quantities on the axes and their units; an empty unit is not known.
  std::string xLabel;
  std::string yLabel;
  std::vector<Series> series;
  // Draws the line y = 0, for residuals.
  bool zeroLine = false;
  std::string xUnit = {};
  std::string yUnit = {};
  // The colours the series' places name; empty: the categorical palette.
  std::vector<Colour> palette = {};
  // Empty: one row for each labelled series, in order.
  std::vector<LegendEntry> legend = {};
  // Which points of the data the figure leaves out and why, for a host that
  // names a point that has no marker; empty where it draws every one.
  std::string leftOut = {};
};

// "P (GPa)", or the quantity alone when its unit is not known.
std::string AxisLabel(const std::string& quantity, const std::string& unit);

// The colour of the series at `index` in the figure.
Colour ColourOf(const Figure& figure, const Series& series, std::size_t index);
Colour ColourAt(const Figure& figure, int place);

// The legend's rows: the figure's own, or one for each labelled series.
std::vector<LegendEntry> LegendOf(const Figure& figure);

}  // namespace quorvane::plot
