#pragma once

#include <string>

#include "plot/figure.h"

// The one door from the command-line program to plotting. A build with Qt
// has the painter behind it, which quorvane-eos opens as a module on its
// first figure (plot/figure_module.h); a build without (the Windows
// cross-build) links a stand-in that says plots are not available.
namespace quorvane::plot {

// The bytes of the figure's two files. They are drawn in memory, so that the
// only place a write can fail is the writing of these bytes, which the
// caller does and reports.
struct FigureFiles {
  std::string svg;
  std::string png;
};

// True when this build can draw figures.
bool FiguresAvailable();

// Draws the figure as SVG and as PNG into files. Returns an empty string on
// success, otherwise one line saying what failed.
std::string DrawFigure(const Figure& figure, FigureFiles& files);

}  // namespace quorvane::plot
