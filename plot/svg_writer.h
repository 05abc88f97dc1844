#pragma once

#include <string>

#include "plot/figure.h"

namespace quorvane::plot {

// The figure as a standalone SVG 1.1 document, drawn without Qt or fonts so
// that every build writes the same text: the data area with its ticks, the
// title above, and the legend to the right of the data area, never over it.
std::string FigureSvg(const Figure& figure);

}  // namespace quorvane::plot
