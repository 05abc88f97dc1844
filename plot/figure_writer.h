#pragma once

#include <string>

#include "plot/figure.h"
#include "plot/svg_writer.h"

// The one door from the command-line program to PNG images. Every build
// writes SVG itself (plot/svg_writer.h); a build with Qt renders that same
// SVG to PNG in a module quorvane-eos opens only when a PNG is asked for
// (plot/figure_module.h), and a build without (the Windows cross-build) links
// a stand-in that says PNG images are not available.
namespace quorvane::plot {

// The bytes of the figure's two files. They are drawn in memory, so that the
// only place a write can fail is the writing of these bytes, which the
// caller does and reports.
struct FigureFiles {
  std::string svg;
  std::string png;
};

// True when this build was made to render PNG images.
bool PngBuilt();

// Renders the SVG document at twice its pixel size, for slides. Returns an
// empty string on success, otherwise one line saying what failed.
std::string RenderPng(const std::string& svg, std::string& png);

// Both files of a figure, the PNG rendered from the SVG.
inline std::string DrawFigure(const Figure& figure, FigureFiles& files) {
  files.svg = FigureSvg(figure);
  return RenderPng(files.svg, files.png);
}

}  // namespace quorvane::plot
