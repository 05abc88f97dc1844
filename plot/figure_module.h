#pragma once

#include <string>

#include "plot/figure_writer.h"

// The Qt painter behind DrawFigure, built as a shared module of its own that
// quorvane-eos opens on its first figure: a command that draws nothing never
// loads Qt, which would otherwise take most of its start-up.
namespace quorvane::plot {

// The module's one exported function, looked up by name. It fills `files`
// and leaves `problem` empty, or says in one line in `problem` what failed.
using DrawFigureEntry = void (*)(const Figure* figure, FigureFiles* files, std::string* problem);
inline constexpr const char* kDrawFigureEntryName = "quorvane_plot_draw_figure";

}  // namespace quorvane::plot
