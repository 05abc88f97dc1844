#include "plot/figure_writer.h"

namespace quorvane::plot {

bool PngBuilt() {
  return false;
}

std::string RenderPng(const std::string&, std::string&) {
  return "PNG plots are not available in this build (it was made without Qt); SVG ones are";
}

}  // namespace quorvane::plot
