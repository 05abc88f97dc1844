#pragma once

#include <string>

#include "plot/figure.h"

// The one door from the command-line program to plotting. A build with Qt
// links the painter behind it; a build without (the Windows cross-build)
// links a stand-in that says plots are not available.
namespace quorvane::plot {

// True when this build can draw figures.
bool FiguresAvailable();

// Writes the figure to path + ".svg" and path + ".png". Returns an empty
// string on success, otherwise one line saying what failed.
std::string WriteFigure(const Figure& figure, const std::string& path);

}  // namespace quorvane::plot
