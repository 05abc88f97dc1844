#pragma once

#include <string>

#include "plot/figure.h"

namespace quorvane::plot {

// The figure as one JSON object, resolved so that a front end draws it
// without computing anything of its own: each axis with its label, range,
// ticks and their texts; each series and legend row with its colour as
// "#rrggbb" and its stroke; numbers as the shortest text that reads back to
// the same double, and null where a value is not a number.
std::string FigureJson(const Figure& figure);

}  // namespace quorvane::plot
