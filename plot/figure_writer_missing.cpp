#include "plot/figure_writer.h"

namespace quorvane::plot {

bool FiguresAvailable() {
  return false;
}

std::string DrawFigure(const Figure&, FigureFiles&) {
  return "plots are not available in this build (it was made without Qt)";
}

}  // namespace quorvane::plot
