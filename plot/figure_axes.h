#pragma once

#include <string>

#include "plot/axis_ticks.h"
#include "plot/figure.h"

namespace quorvane::plot {

// The two axes of a figure, each around every point with a margin, ticked
// at multiples of 1, 2 or 5 times a power of ten.
struct FigureAxes {
  AxisTicks x;
  AxisTicks y;
};

FigureAxes AxesOf(const Figure& figure);

// A tick's text with as many decimals as the step needs, a minus sign for
// negatives, and exponent form for very large or small magnitudes.
std::string TickText(double value, double step);

}  // namespace quorvane::plot
